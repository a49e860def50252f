; The program: its lines from PROG_START in order of number, ended by a
; length of 0, with the name table after it. Entering, replacing and
; deleting lines; finding them; the line targets' addresses; LIST; NEW.

; HL := the first line numbered DE or more, or the end marker; Z when it is
; numbered DE. Keeps DE.
find_line:
        ld hl,PROG_START
_line:
        ld a,(hl)
        inc hl
        or (hl)
        jr z,_end
        inc hl
        ld c,(hl)
        inc hl
        ld b,(hl)
        dec hl
        dec hl
        dec hl
        push hl
        ld h,b
        ld l,c
        or a
        sbc hl,de
        pop hl
        ret nc
        ld c,(hl)
        inc hl
        ld b,(hl)
        dec hl
        add hl,bc
        jr _line
_end:
        dec hl
        or 1
        ret

; Enters the line in tok_buffer into the program: a new line, a replacement,
; or for a number alone a deletion. Editing clears the variables (the names
; stay), so only the name table moves with the program's end.
store_line:
        call clear_run
        ld a,1
        ld (prog_dirty),a
        ld de,(tok_buffer+2)
        call find_line
        jr nz,_insert
        push hl
        ld c,(hl)
        inc hl
        ld b,(hl)               ; BC = the old line's length
        ld hl,(names_end)
        pop de                  ; DE = the old line
        push de
        push bc
        or a
        sbc hl,de
        sbc hl,bc
        ld b,h
        ld c,l                  ; what follows it, up to the name table's end
        pop hl
        push hl
        add hl,de
        ldir
        pop bc
        xor a                   ; BC := -BC
        sub c
        ld c,a
        sbc a,a
        sub b
        ld b,a
        call move_ends
        pop hl
_insert:
        ld bc,(tok_buffer)
        ld a,b
        or a
        jr nz,_enter
        ld a,c
        cp 5
        ret z                   ; a number alone
_enter:
        call need_room
        push hl
        push bc
        ex de,hl
        ld hl,(names_end)
        or a
        sbc hl,de
        ld b,h
        ld c,l                  ; from the place to the name table's end
        ld hl,(names_end)
        dec hl
        pop de
        push de
        push hl
        add hl,de
        ex de,hl                ; DE = the last byte's new place
        pop hl
        lddr
        pop bc
        pop de
        push bc
        ld hl,tok_buffer
        ldir
        pop bc
; The program's end moved by BC: so do the name table and the arrays' start.
move_ends:
        ld hl,(prog_end)
        add hl,bc
        ld (prog_end),hl
        ld hl,(names_end)
        add hl,bc
        ld (names_end),hl
        ld (arrays_end),hl
        ret

; Fills in every line target's address (0 for a line that does not exist).
resolve_program:
        xor a
        ld (prog_dirty),a
        ld hl,PROG_START
_line:
        ld a,(hl)
        inc hl
        or (hl)
        dec hl
        ret z
        push hl
        call resolve_line
        pop hl
        ld e,(hl)
        inc hl
        ld d,(hl)
        dec hl
        add hl,de
        jr _line

; The same for the one line whose header is at HL.
resolve_line:
        ld de,4
        add hl,de
_item:
        ld a,(hl)
        or a
        ret z
        cp TK_LINE
        jr nz,_skip
        inc hl
        ld e,(hl)
        inc hl
        ld d,(hl)
        inc hl
        push hl
        call find_line
        jr z,_found
        ld hl,0
_found:
        ex de,hl
        pop hl
        ld (hl),e
        inc hl
        ld (hl),d
        inc hl
        jr _item
_skip:
        call skip_item
        jr _item

; Moves HL past the item at HL, but not past the line's end (0); A = the
; item's first byte. Uses BC, DE.
skip_item:
        ld a,(hl)
        or a
        ret z
        inc hl
        push af
        cp TK_NUM
        jr z,_num
        cp TK_LINE
        jr z,_four
        cp TK_SARR+1
        jr c,_two               ; TK_INT and the variables
        cp '"'
        jr z,_string
        cp TK_REM
        call z,skip_line
        pop af
        ret
_num:
        ld de,5
        add hl,de
        ld e,(hl)
        inc hl
        add hl,de
        jr _done
_four:
        inc hl
        inc hl
_two:
        inc hl
        inc hl
_done:
        pop af
        ret
_string:
        ld a,(hl)
        or a
        jr z,_done
        inc hl
        cp '"'
        jr nz,_string
        jr _done

; NEW: no lines, no names.
new_program:
        ld hl,PROG_START
        xor a
        ld (hl),a
        inc hl
        ld (hl),a
        inc hl
        ld (prog_end),hl
        ld (names_end),hl
        ld (prog_dirty),a
; Clears what a run leaves behind: the variables' values (their names stay),
; the arrays, the strings, the FOR and GOSUB frames, READ's place and CONT.
clear_run:
        ld hl,(prog_end)
_entry:
        call names_ended
        jr z,_cleared
        push hl
        ld b,5
_zero:
        ld (hl),0
        inc hl
        djnz _zero
        pop hl
        call next_entry
        jr _entry
_cleared:
        ld hl,(names_end)
        ld (arrays_end),hl
        ld hl,(heap_top)
        ld (str_bottom),hl
        ld hl,ctl_stack
        ld (ctl_sp),hl
        ld hl,temp_pool
        ld (temp_top),hl
        ld hl,0
        ld (cont_ptr),hl
; RESTORE: READ starts again from the first line. Keeps HL.
restore_data:
        ld de,PROG_START
        ld (data_ptr),de
        ld a,2
        ld (data_state),a
        ret

; HL := the bytes free between the arrays and the strings.
free_bytes:
        ld hl,(arrays_end)
        ex de,hl
        ld hl,(str_bottom)
        or a
        sbc hl,de
        ret

; Carry clear when BC bytes are free, after collecting the strings if need
; be; else Out of memory. Keeps BC, DE, HL.
need_room:
        push hl
        call _enough
        jr nc,_fits
        call str_collect
        call _enough
        jp c,out_of_memory
_fits:
        pop hl
        ret
_enough:
        ld hl,(arrays_end)
        add hl,bc
        ret c
        push de
        ex de,hl
        ld hl,(str_bottom)
        sbc hl,de
        pop de
        ret

; LIST [from][-[to]]: the lines in the range, each sent to the screen after
; a dry run that counts its characters; before a line that would take the
; rows shown since the last wait past a screenful, it waits for a key.
; BREAK stops it.
stmt_list:
        ld de,0
        ld bc,0FFFFh
        ld a,(hl)
        cp TK_LINE
        jr nz,_dash
        call _number
        ld b,d
        ld c,e
_dash:
        ld a,(hl)
        cp TK_MINUS
        jr nz,_range
        inc hl
        ld bc,0FFFFh
        ld a,(hl)
        cp TK_LINE
        jr nz,_range
        push de
        call _number
        ld b,d
        ld c,e
        pop de
_range:
        push hl                 ; the statement's end
        push bc                 ; the last number
        call find_line
        xor a
        ld (list_rows),a
_line:
        ld a,(hl)
        inc hl
        or (hl)
        inc hl
        jr z,_done
        ld e,(hl)
        inc hl
        ld d,(hl)
        dec hl
        dec hl
        dec hl
        pop bc
        push bc
        push hl
        ld h,b
        ld l,c
        or a
        sbc hl,de
        pop hl
        jr c,_done
        ld a,(break_flag)
        or a
        jr nz,_break
        ld de,0FFFFh
        call list_to
        push hl
        ld hl,(out_count)
        ld de,31
        add hl,de
        add hl,hl
        add hl,hl
        add hl,hl               ; H = the rows it takes
        ld a,(list_rows)
        add a,h
        cp SCREEN_ROWS
        jr c,_fits
        call get_key
        cp KEY_BREAK
        jr z,_break
        ld a,h
_fits:
        ld (list_rows),a
        pop hl
        ld de,0
        call list_to
        call fresh_line
        ld e,(hl)
        inc hl
        ld d,(hl)
        dec hl
        add hl,de
        jr _line
_done:
        pop bc
        pop hl
        ret
_break:
        ld a,ERR_BREAK
        jp basic_error
_number:
        inc hl
        ld e,(hl)
        inc hl
        ld d,(hl)
        ld bc,3
        add hl,bc
        ret

; EDIT line: the line goes into the editor as text, its cursor at the end,
; to be changed and entered again.
stmt_edit:
        call line_target
        ex de,hl
        ld de,edit_text
        call list_to
        ld hl,(out_ptr)
        ld (hl),0
        ld de,edit_text
        jp basic_edit

; The line whose header is at HL, detokenized to out_ptr = DE, counting its
; characters in out_count. Keeps HL.
list_to:
        ld (out_ptr),de
        push hl
        ld hl,0
        ld (out_count),hl
        pop hl
        push hl
        call list_line
        pop hl
        ret
