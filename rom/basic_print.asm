; PRINT. Items are expressions, ';' (nothing between), ',' (on to the next
; zone of 8 columns) and TAB(n) (on to column n, 0-31, on a new line if the
; cursor is past it). A number prints with a space or '-' before it and one space
; after it. A new line ends the output unless it ends with ';' or ','.

ZONE_WIDTH      EQU 8

stmt_print:
_item:
        ld a,(hl)
        call is_statement_end
        jp z,new_line
        inc hl
        cp ';'
        jr z,_separator
        cp ','
        jr z,_zone
        cp TK_TAB
        jr z,_tab
        dec hl
        call eval
        call print_value
        jr _item
_zone:
        ld a,(cursor_column)
        or ZONE_WIDTH-1
        inc a
        cp SCREEN_COLUMNS
        jr c,_to_column
        call new_line
        jr _separator
_tab:
        rst 18h
        DEFB '('
        call eval_column
        rst 18h
        DEFB ')'
        ld b,e
        ld a,(cursor_column)
        cp b
        jr z,_separator
        call nc,new_line        ; past it
        ld a,b
_to_column:
        ld b,a
_space:
        ld a,(cursor_column)
        cp b
        jr z,_separator
        call print_space
        jr _space
_separator:
        ld a,(hl)
        call is_statement_end
        ret z
        jr _item

; A, E := a numeric expression at HL from 0 to 31, a row or a column of
; the screen, else Bad argument.
eval_column:
        call eval_byte
        cp SCREEN_COLUMNS
        ret c
        jp bad_argument

        IF SCREEN_ROWS NE SCREEN_COLUMNS
        .ERROR eval_column checks rows as columns
        ENDIF

; Z when A ends a statement: the line's end, ':' or ELSE.
is_statement_end:
        or a
        ret z
        cp ':'
        ret z
        cp TK_ELSE
        ret

; Prints fp_acc: a number as fp_format writes it and a space, or a string.
print_value:
        ld a,(val_type)
        or a
        jp nz,print_string_value
        push hl
        ld de,num_buffer
        call fp_format
        ld hl,num_buffer
        call print_string
        call print_space
        pop hl
        ret
