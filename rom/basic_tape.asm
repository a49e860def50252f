; SAVE and LOAD: BASIC programs on tape, in the monitor's blocks (see
; tape_commands.asm). A program goes out as a header of type 2 and one data
; block: its lines, the end marker and the name table, as they lie from
; PROG_START; the header's run field holds the name table's offset. The
; check of a program's form, which LOAD and the monitor's BASIC command use.

TYPE_BASIC      EQU 2               ; the header type of a BASIC program

; The name after SAVE or LOAD, "name" or "" or none, into DE's 10 bytes;
; load_any := 0FFh for none. From here on the monitor's errors come to BASIC.
tape_name:
        ld a,1
        ld (tape_basic),a
        ld a,(hl)
        cp '"'
        jr nz,_parse
        inc hl
        cp (hl)
        jr z,_any               ; ""
        dec hl
_parse:
        call parse_name
        sbc a,a
        ld (load_any),a
        ret
_any:
        inc hl
        ld a,0FFh
        ld (load_any),a
        ret

; SAVE "name"
stmt_save:
        ld de,header_name
        call tape_name
        ld a,(load_any)
        or a
        jp nz,syntax_error
        push hl
        ld de,PROG_START
        ld (header_start),de
        ld hl,(prog_end)
        or a
        sbc hl,de
        ld (header_run),hl
        ld hl,(names_end)
        sbc hl,de
        ld (header_length),hl
        ld a,TYPE_BASIC
        ld (header_type),a
        call save_blocks
        xor a
        ld (tape_basic),a
        pop hl
        ret

; LOAD "name": the program goes into the free memory above the variables,
; and replaces the one in memory only when its checksum and its form are
; good; BREAK or any error leaves the old program.
stmt_load:
        ld de,want_name
        call tape_name
        rst 28h
        call print_inline
        DEFB "Searching",13,0
        di
_search:
        call tape_search
        ld a,(header_type)
        cp TYPE_BASIC
        jr nz,_search
        ld bc,(header_length)
        call need_room
        ld hl,(arrays_end)
        ld (header_start),hl
        call tape_load_data
        ei
        ld hl,(header_start)
        ld bc,(header_run)
        ld de,(header_length)
        call check_program
        ld a,ERR_PROGRAM
        jp c,basic_error
        ld hl,(header_start)
        ld de,PROG_START
        ld bc,(header_length)
        ldir
        ld (names_end),de
        ld hl,PROG_START
        ld bc,(header_run)
        add hl,bc
        ld (prog_end),hl
        ld (prog_dirty),a       ; the line targets' addresses are found again
        call clear_run
        jp basic_ready

; The monitor's BASIC command: a program the monitor may have overwritten is
; checked before BASIC uses it; a damaged one is dropped.
basic_command:
        call need_end
        ld a,(basic_started)
        or a
        jp z,basic_start
        ld de,PROG_START
        ld hl,(prog_end)
        or a
        sbc hl,de
        ld b,h
        ld c,l
        ld hl,(names_end)
        sbc hl,de
        ex de,hl
        call check_program
        jp nc,basic_ready
        call new_program
        ld a,ERR_DAMAGED
        jp basic_error

; The monitor's tape errors during SAVE and LOAD.
basic_tape_error:
        ld a,ERR_SYSTEM
        ld (err_code),a
        jp basic_error_text

; Checks the program at HL, BC bytes of lines with the end marker, DE bytes
; with the name table: every line at least 5 bytes long, inside the lines,
; its items ending exactly at its last byte, a 0; the numbers rising; the
; end marker where the name table starts; each variable's slot inside the
; name table, whose entries end exactly at its end. Carry set when any of
; that fails.
check_program:
        push hl
        add hl,de
        ld (scan_end),hl
        ex de,hl
        or a
        sbc hl,bc
        ld (scan_names),hl
        pop de                  ; DE = the first line
        ret c                   ; more lines than bytes
        ld h,d
        ld l,e
        add hl,bc
        dec hl
        dec hl
        ld (scan_lines),hl
        ld hl,0
        ld (scan_last),hl
_line:
        ld hl,(scan_lines)
        or a
        sbc hl,de
        ret c                   ; past the end marker's place
        ex de,hl                ; DE = the room left, HL = the line
        ld c,(hl)
        inc hl
        ld b,(hl)
        ld a,b
        or c
        jr z,_marker
        dec hl
        ex de,hl
        sbc hl,bc
        ret c                   ; longer than the room
        ld hl,-5
        add hl,bc
        ccf
        ret c                   ; shorter than a line can be
        ex de,hl
        push hl
        add hl,bc
        dec hl
        ld (scan_stop),hl
        pop hl
        inc hl
        inc hl
        ld e,(hl)
        inc hl
        ld d,(hl)
        inc hl
        push hl
        ld hl,(scan_last)
        ld (scan_last),de
        or a
        sbc hl,de
        pop hl
        ccf
        ret c                   ; not above the line before
_item:
        ld de,(scan_stop)
        ex de,hl
        or a
        sbc hl,de
        ex de,hl
        ret c                   ; an item ran past the line
        jr z,_last
        ld a,(hl)
        or a
        scf
        ret z                   ; the line ends early
        cp TK_NVAR
        jr c,_skip
        cp TK_SARR+1
        jr nc,_skip
        push hl
        inc hl
        ld e,(hl)
        inc hl
        ld d,(hl)
        ld hl,(scan_names)
        or a
        sbc hl,de
        jr c,_far
        ld de,5
        sbc hl,de
_far:
        pop hl
        ret c                   ; a slot outside the name table
_skip:
        call skip_item
        jr _item
_last:
        ld a,(hl)
        inc hl
        ex de,hl
        or a
        jr z,_line
        scf
        ret
_marker:
        ld a,d
        or e
        scf
        ret nz                  ; not where the name table starts
        inc hl
_entry:
        ld de,(scan_end)
        ex de,hl
        or a
        sbc hl,de
        ex de,hl
        ret z
        ret c                   ; an entry runs past the end
        call next_entry
        jr _entry
