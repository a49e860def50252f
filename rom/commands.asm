; The monitor's memory, port and sound commands. Each starts with HL just
; after its word on the command line.

DUMP_LENGTH     EQU 64          ; bytes D shows when given no length
BEEP_HZ         EQU 1000        ; what B plays when given no values
BEEP_MS         EQU 200

; D [addr [len]]: shows memory, 8 bytes a line, in hex and as text; without
; an address it goes on from where the last D or E ended. BREAK stops it.
cmd_dump:
        call parse_hex
        jr nc,_address
        ld de,(dump_next)
_address:
        push de
        call parse_hex
        jr nc,_length
        ld de,DUMP_LENGTH
_length:
        rst 28h
        ex de,hl                ; lines := (length + 7) / 8, from 17 bits
        ld bc,7
        add hl,bc
        ld b,3
_eighth:
        rr h
        rr l
        or a
        djnz _eighth
        ex de,hl
        pop hl
_line:
        ld a,d
        or e
        jr z,_end
        call print_hex16
        call print_space
        push hl
        ld b,8
_hex:
        ld a,(hl)
        call print_hex8
        inc hl
        ld a,b
        cp 5
        call z,print_space
        djnz _hex
        call print_space
        pop hl
        ld b,8
_text:
        ld a,(hl)
        cp 32
        jr c,_dot
        cp 127
        jr c,_show
_dot:
        ld a,'.'
_show:
        rst 08h
        inc hl
        djnz _text
        call new_line
        dec de
        call key_poll
        jr z,_line
        cp KEY_BREAK
        jr nz,_line
_end:
        ld (dump_next),hl
        ret

; E addr values: writes bytes from addr. A value is a hex byte or a text in
; double quotes. The line is checked whole before anything is written: the
; first pass "writes" from 0000h, into the ROM, which ignores writes, and
; so only counts the bytes.
cmd_enter:
        rst 20h
        push de
        push hl
        ld de,0
        call enter_values
        ld a,d
        or e
        jr z,error_missing
        ld b,d
        ld c,e
        pop hl
        ex (sp),hl              ; HL = the address, the line on the stack
        call check_block
        ld (dump_next),hl
        ex de,hl
        pop hl
        ; the second pass writes

; Walks the values at HL, storing them from DE; DE ends past the last byte.
enter_values:
        call skip_spaces
        ret z
        cp '"'
        jr z,_text
        push de
        call need_byte
        pop de
        ld (de),a
        inc de
        jr enter_values
_text:
        inc hl
_char:
        ld a,(hl)
        or a
        jr z,error_quote
        inc hl
        cp '"'
        jr z,enter_values
        ld (de),a
        inc de
        jr _char

error_missing:
        rst 30h
        DEFB "Missing value",0
error_quote:
        rst 30h
        DEFB "Missing closing quote",0

; F addr len xx: fills len bytes from addr with xx.
cmd_fill:
        rst 20h
        push de
        rst 20h
        push de
        call need_byte          ; E = the byte
        rst 28h
        pop bc
        pop hl
        ld a,b
        or c
        ret z
        call check_block
        ld (hl),e
        dec bc
        ld a,b
        or c
        ret z
        ld d,h
        ld e,l
        inc de
        ldir
        ret

; C from to len: copies len bytes; the blocks may overlap.
cmd_copy:
        rst 20h
        push de
        rst 20h
        push de
        rst 20h
        rst 28h
        ld b,d
        ld c,e
        pop hl                  ; to
        pop de                  ; from
        ld a,b
        or c
        ret z
        call check_block
        ex de,hl                ; DE = to, HL = from
        call check_end          ; the source must not run past FFFF
        push hl
        or a
        sbc hl,de
        pop hl
        jr c,_backward          ; from < to: copy from the end
        ldir
        ret
_backward:
        add hl,bc
        dec hl
        ex de,hl
        add hl,bc
        dec hl
        ex de,hl
        lddr
        ret

; Stops with a message unless the block of BC bytes (not 0) from HL lies
; below FFFF and keeps out of the system area. Keeps HL, BC, DE.
check_block:
        call check_end
        cp HIGH SYSTEM_START
        ret c                   ; ends below 4000h
        ld a,h
        cp HIGH USER_START
        ret nc                  ; starts at 5000h or above
        rst 30h
        DEFB "System area 4000-4FFF",0

; G addr: runs the code at addr as a subroutine; its RET comes back to the
; prompt.
cmd_go:
        rst 20h
        rst 28h
        ex de,hl
        jp (hl)

; I port: reads a port (16 bits: the high byte goes out on A8-A15).
cmd_in:
        rst 20h
        rst 28h
        ld b,d
        ld c,e
        in a,(c)
        call print_hex8
        jp new_line

; O port xx: writes a port.
cmd_out:
        rst 20h
        push de
        call need_byte          ; E = the byte
        rst 28h
        pop bc
        ld a,e
        out (c),a
        ret

; B [hz [ms]]: a beep, in decimal hertz and milliseconds.
cmd_beep:
        call parse_decimal
        jr nc,_pitch
        ld de,BEEP_HZ
_pitch:
        push de
        call parse_decimal
        jr nc,_length
        ld de,BEEP_MS
_length:
        rst 28h
        pop hl
        call beep
        ret nc
        jp error_range
