; Values read at run time: INPUT from a typed line, READ from the program's
; DATA. Both are lists of items separated by commas: a number, a string in
; double quotes, or a string without them (up to the next comma, with its
; spaces at either end dropped). A DATA statement also ends at ':'.

; Reads the item at HL into the variable at DE, of type A (0 a number, 1 a
; string). Carry set when a number was wanted and the item is not one; else
; HL ends at the item's end (a comma, the text's end or item_end).
read_item:
        push de
        push af
        call skip_spaces
        pop af
        or a
        jr nz,_string
        call fp_parse
        jr c,_bad
        call item_ends
        jr nz,_bad
        pop de
        push hl
        ld hl,fp_acc
        ld bc,5
        ldir
        pop hl
        ret
_bad:
        pop de
        scf
        ret
_string:
        ld c,0
        ld a,(hl)
        cp '"'
        jr nz,_bare
        inc hl
        ld d,h
        ld e,l
_quoted:
        ld a,(hl)
        or a
        jr z,_assign
        inc hl
        cp '"'
        jr z,_closed
        inc c
        jr _quoted
_closed:
        push de
        call item_ends
        pop de
        jr nz,_bad
        jr _assign
_bare:
        ld d,h
        ld e,l
_char:
        ld a,(hl)
        call item_char_ends
        jr z,_trim
        inc hl
        inc c
        jr _char
_trim:
        ld a,c                  ; the spaces at its end go
        or a
        jr z,_assign
        push hl
        ld l,c
        ld h,0
        add hl,de
        dec hl
        ld a,(hl)
        pop hl
        cp ' '
        jr nz,_assign
        dec c
        jr _trim
_assign:
        call temp_push
        pop de
        call string_assign
        or a
        ret

; Z when the text at HL, past its spaces, ends an item: a comma, the end,
; or item_end.
item_ends:
        call skip_spaces
; Z when A does.
item_char_ends:
        or a
        ret z
        cp ','
        ret z
        push hl
        ld hl,item_end
        cp (hl)
        pop hl
        ret

; INPUT ["prompt";] variable [, variable ...]: asks with the prompt and
; "? " (no "? " after "prompt",); asks again with "?? " while variables
; are left over, and from the start after "Redo" when a number was wanted
; and something else was typed. BREAK stops the program there; CONT asks
; again.
stmt_input:
        dec hl
        ld (input_stmt),hl
        inc hl
        ld a,','
        ld (item_end),a
        ld de,question
        ld a,(hl)
        cp '"'
        jr nz,_variables
        inc hl
_prompt:
        ld a,(hl)
        or a
        jp z,syntax_error
        inc hl
        cp '"'
        jr z,_prompted
        call print_char
        jr _prompt
_prompted:
        ld a,(hl)
        inc hl
        cp ';'
        jr z,_variables
        cp ','
        jp nz,syntax_error
        ld de,empty_text
_variables:
        ld (input_vars),hl
_ask:
        ex de,hl
        ld de,empty_text
        call edit_line
        jr c,_break
        ld (input_text),hl
        ld hl,(input_vars)
_variable:
        ld (input_at),hl
        call get_target
        push hl
        ld hl,(input_text)
        push af
        push de
        call skip_spaces
        jr nz,_item
        pop de
        pop af
        pop hl
        ld hl,(input_at)
        ld (input_vars),hl
        ld de,more
        jr _ask
_item:
        pop de
        pop af
        call read_item
        jr c,_redo
        ld a,(hl)
        cp ','
        jr nz,_next
        inc hl
_next:
        ld (input_text),hl
        pop hl
        ld a,(hl)
        cp ','
        ret nz
        inc hl
        jr _variable
_redo:
        pop hl
        call print_inline
        DEFB "Redo",13,0
        ld hl,(input_stmt)
        inc hl
        jp stmt_input
_break:
        ld hl,(input_stmt)
        jp break_here

question:
        DEFB "? ",0
more:
        DEFB "?? ",0

; READ variable [, variable ...]: the next items of the program's DATA.
stmt_read:
        ld a,':'
        ld (item_end),a
_variable:
        call get_target
        push hl
        push af
        push de
        call data_next
        pop de
        pop af
        call read_item
        jp c,syntax_error
        ld a,(hl)
        cp ','
        ld a,0                  ; the DATA statement is done
        jr nz,_placed
        inc hl
        inc a                   ; at its next item
_placed:
        ld (data_state),a
        ld (data_ptr),hl
        pop hl
        ld a,(hl)
        cp ','
        ret nz
        inc hl
        jr _variable

; HL := the next DATA item, searching the program on from data_ptr (a line's
; header when data_state is 2, a place in a line when it is 0); Out of DATA
; past the last line.
data_next:
        ld hl,(data_ptr)
        ld a,(data_state)
        dec a
        ret z                   ; at an item
        jp p,_header
_scan:
        ld a,(hl)
        or a
        jr z,_line_end
        call skip_item
        cp TK_DATA
        jr nz,_scan
        ret
_line_end:
        inc hl
_header:
        ld a,(hl)
        inc hl
        or (hl)
        ld a,ERR_DATA
        jp z,basic_error
        inc hl
        inc hl
        inc hl
        jr _scan

; RESTORE [line]: READ starts again from the first line or that line.
stmt_restore:
        ld a,(hl)
        cp TK_LINE
        jp nz,restore_data
        call line_target
        ld (data_ptr),de
        ld a,2
        ld (data_state),a
        ret

; DATA, met as a statement: passed over.
stmt_data:
        ld a,(hl)
        or a
        ret z
        cp ':'
        ret z
        call skip_item
        jr stmt_data
