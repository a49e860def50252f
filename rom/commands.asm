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
        call need_end
        ex de,hl                ; lines := (length + 7) / 8
        ld bc,7
        add hl,bc
        rr h
        rr l
        srl h
        rr l
        srl h
        rr l
        ex de,hl
        pop hl
_line:
        ld a,d
        or e
        jr z,_end
        call print_hex16
        call print_space
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
        ld bc,-8
        add hl,bc
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
        call print_char
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
; double quotes. The line is checked whole before anything is written.
cmd_enter:
        call need_hex
        push de
        push hl
        ld c,0                  ; first pass: check only
        call enter_values
        pop hl
        ex (sp),hl              ; HL = the address, the end on the stack
        ex de,hl
        or a
        sbc hl,de               ; the number of bytes
        jp z,error_missing
        ld b,h
        ld c,l
        ex de,hl
        call check_block
        ex de,hl                ; DE = the address
        pop hl
        ld (dump_next),de
        ld c,1                  ; second pass: write
        jr enter_values

; Walks the values at HL, storing them from DE when C is 1; DE ends past the
; last byte.
enter_values:
        call skip_spaces
        ret z
        cp '"'
        jr z,_text
        push bc
        push de
        call need_byte
        pop de
        pop bc
        call _store
        jr enter_values
_text:
        inc hl
_char:
        ld a,(hl)
        or a
        jp z,error_quote
        inc hl
        cp '"'
        jr z,enter_values
        call _store
        jr _char
_store:
        dec c
        inc c
        jr z,_skip
        ld (de),a
_skip:
        inc de
        ret

; F addr len xx: fills len bytes from addr with xx.
cmd_fill:
        call need_hex
        push de
        call need_hex
        push de
        call need_byte
        push af
        call need_end
        pop af
        pop bc
        pop hl
        ld d,a
        ld a,b
        or c
        ret z
        call check_block
        ld (hl),d
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
        call need_hex
        push de
        call need_hex
        push de
        call need_hex
        call need_end
        ld b,d
        ld c,e
        pop hl                  ; to
        ld a,b
        or c
        jr z,_none
        call check_block
        ex de,hl                ; DE = to
        pop hl                  ; HL = from
        push hl
        push bc
        dec bc
        add hl,bc
        jp c,error_range        ; the source runs past FFFF
        pop bc
        pop hl
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
_none:
        pop hl
        ret

; Stops with a message unless the block of BC bytes (not 0) from HL lies
; below FFFF and keeps out of the system area. Keeps HL, BC, DE.
check_block:
        push hl
        push bc
        dec bc
        add hl,bc               ; HL = the last byte
        jp c,error_range
        ld a,h
        pop bc
        pop hl
        cp HIGH SYSTEM_START
        ret c                   ; ends below 4000h
        ld a,h
        cp HIGH USER_START
        ret nc                  ; starts at 5000h or above
        jp error_system

; G addr: runs the code at addr as a subroutine; its RET comes back here.
cmd_go:
        call need_hex
        call need_end
        ex de,hl
        call _jump
        jp monitor
_jump:
        jp (hl)

; I port: reads a port (16 bits: the high byte goes out on A8-A15).
cmd_in:
        call need_hex
        call need_end
        ld b,d
        ld c,e
        in a,(c)
        call print_hex8
        jp new_line

; O port xx: writes a port.
cmd_out:
        call need_hex
        push de
        call need_byte
        push af
        call need_end
        pop af
        pop bc
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
        call need_end
        pop hl
        call beep
        jp c,error_range
        ret
