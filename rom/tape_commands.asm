; S and L: saving and loading named blocks of memory on tape.

; S "name" addr len [run]: saves len bytes from addr. With a run address the
; block is a program, which L starts after loading it.
cmd_save:
        ld de,header_name
        call parse_name
        jp c,error_missing
        rst 20h
        push de
        rst 20h
        ld a,d
        or e
        jp z,error_range
        ld b,d
        ld c,e
        ex (sp),hl              ; HL = the start, the line on the stack
        ld (header_start),hl
        ld (header_length),bc
        call check_end
        pop hl
        call parse_hex
        sbc a,a
        inc a                   ; 1 with a run address, else 0
        jr nz,_type
        ld d,a
        ld e,a
_type:
        ld (header_type),a
        ld (header_run),de
        rst 28h
; Writes the header block and the data block it describes. BASIC's SAVE
; comes in here too.
save_blocks:
        call print_titled
        DEFB "Saving ",0
        xor a
        ld hl,header_name
        ld bc,HEADER_BYTES
        ld de,HEADER_LEADER
        call tape_write_block
        ld a,0FFh
        ld hl,(header_start)
        ld bc,(header_length)
        ld de,DATA_LEADER
        call tape_write_block
        xor a                   ; the output rests low
        out (PORT),a
        ei
        call print_inline
        DEFB "Saved",13,0
        ret

; L ["name"]: loads the block of that name, or the first block found. Shows
; each header it passes. A program starts once loaded.
cmd_load:
        ld de,want_name
        call parse_name
        sbc a,a                 ; 0FFh without a name
        ld (load_any),a
        rst 28h
        call print_inline
        DEFB "Searching",13,0
        di
        call tape_search
        ld hl,(header_start)
        ld bc,(header_length)
        call check_block
        call tape_load_data
        ei
        call print_inline
        DEFB "Loaded",13,0
        ld a,(header_type)
        dec a
        ret nz
        ld hl,(header_run)
        jp (hl)                 ; its RET goes back to the prompt

error_checksum:
        rst 30h
        DEFB "checksum error",0

; Finds the next header block: Z when it is whole, NZ when it is damaged.
tape_find_header:
        call tape_sync
        ld ix,header
        exx
        ld bc,HEADER_BLOCK
        exx
        ld l,0
        call tape_read
        jr c,tape_find_header   ; the signal stopped
        ld a,(header_kind)
        or a
        jr nz,tape_find_header  ; a data block
        ld a,l
        or a
        ret

; Reads the data block that follows a header into memory. Any fault in it
; ends the command with "checksum error"; what arrived stays in memory.
tape_load_data:
        call tape_sync
        ld ix,tape_marker
        exx
        ld bc,1
        exx
        ld l,0
        call tape_read
        jr c,error_checksum
        ld a,(tape_marker)
        inc a
        jr nz,error_checksum
        ld ix,(header_start)
        exx
        ld bc,(header_length)
        exx
        call tape_read
        jr c,error_checksum
        ld ix,tape_check
        exx
        ld bc,1
        exx
        call tape_read
        jr c,error_checksum
        ld a,l
        or a
        jr nz,error_checksum
        ret

; Reads headers, naming each ("Found"), until one has the name in want_name
; (any name when load_any is set). BASIC's LOAD and VERIFY search with it too.
tape_search:
        call tape_find_header
        jr nz,error_checksum
        call print_titled
        DEFB "Found ",0
        ld a,(load_any)
        or a
        ret nz
        ld hl,want_name
        ld de,header_name
        ld b,NAME_LENGTH
_compare:
        ld a,(de)
        cp (hl)
        jr nz,tape_search
        inc hl
        inc de
        djnz _compare
        ret

; Prints the text that follows the call, then the header's name, and ends
; the line; returns past the text.
print_titled:
        pop hl
        call print_string
        push hl
        ld hl,header_name
        ld b,NAME_LENGTH
_char:
        ld a,(hl)
        rst 08h
        inc hl
        djnz _char
        jp new_line
