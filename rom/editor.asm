; The line editor: reads one command line after the prompt "> ". Characters
; are inserted at the cursor; DEL removes the one before it; LEFT and RIGHT
; move along the line; UP brings back the previous line; DOWN empties the
; line; CLEAR clears the screen and keeps the line; BREAK abandons it.

; Returns HL = line_buffer holding the zero-terminated line, and carry clear;
; or carry set when BREAK abandoned the line.
read_line:
        call fresh_line
        call print_inline
        DEFB "> ",0
        ld a,(cursor_column)
        ld (line_column),a
        xor a
        ld (line_length),a
        ld (line_position),a
_key:
        ld a,(line_column)
        ld hl,line_position
        add a,(hl)
        ld (cursor_column),a
        call get_key
        cp KEY_RETURN
        jp z,_return
        cp KEY_DEL
        jp z,_delete
        cp KEY_LEFT
        jp z,_left
        cp KEY_RIGHT
        jp z,_right
        cp KEY_UP
        jp z,_recall
        cp KEY_DOWN
        jp z,_erase
        cp KEY_CLEAR
        jp z,_clear
        cp KEY_BREAK
        jp z,_break
        cp 32
        jr c,_key
        ; Insert the character at the cursor.
        ld c,a
        ld a,(line_length)
        cp LINE_MAX
        jp nc,_key
        ld hl,line_position
        sub (hl)                ; characters after the cursor
        jr z,_put
        push bc
        ld c,a
        ld b,0
        ld a,(line_length)
        ld e,a
        ld d,0
        ld hl,line_buffer
        add hl,de               ; one past the last character
        ld d,h
        ld e,l
        dec hl
        lddr
        pop bc
_put:
        ld a,(line_position)
        ld e,a
        ld d,0
        ld hl,line_buffer
        add hl,de
        ld (hl),c
        ld hl,line_length
        inc (hl)
        ld hl,line_position
        inc (hl)
        call draw_line_from     ; A = the old position
        jp _key

_delete:
        ld a,(line_position)
        or a
        jp z,_key
        ld e,a
        ld d,0
        ld hl,line_buffer
        add hl,de               ; the character after the one to go
        ld a,(line_length)
        sub e
        jr z,_shrink
        ld c,a
        ld b,0
        ld d,h
        ld e,l
        dec de
        ldir
_shrink:
        ld hl,line_length
        dec (hl)
        ld hl,line_position
        dec (hl)
        ld a,(hl)
        call draw_line_from
        jp _key

_left:
        ld hl,line_position
        ld a,(hl)
        or a
        jp z,_key
        dec (hl)
        jp _key

_right:
        ld a,(line_length)
        ld hl,line_position
        cp (hl)
        jp z,_key
        inc (hl)
        jp _key

_recall:
        ld hl,last_line
        ld de,line_buffer
        ld b,0
_copy:
        ld a,(hl)
        or a
        jr z,_copied
        ld (de),a
        inc hl
        inc de
        inc b
        jr _copy
_copied:
        ld a,b
        jr _show

_erase:
        xor a
_show:
        ld (line_length),a
        ld (line_position),a
        call clear_line_area
        xor a
        call draw_line_from
        jp _key

_clear:
        call clear_screen
        call print_inline
        DEFB "> ",0
        xor a
        call draw_line_from
        jp _key

_break:
        call _to_end
        call new_line
        scf
        ret

_return:
        call _to_end
        call new_line
        ld a,(line_length)
        ld e,a
        ld d,0
        ld hl,line_buffer
        add hl,de
        ld (hl),0
        or a
        jr z,_done
        ld hl,line_buffer       ; keep it for UP
        ld de,last_line
        ld bc,LINE_MAX+1
        ldir
_done:
        ld hl,line_buffer
        or a
        ret

_to_end:
        ld a,(line_column)
        ld hl,line_length
        add a,(hl)
        ld (cursor_column),a
        ret

; Draws the line from index A to its end, and one blank after it.
draw_line_from:
        ld c,a
        ld b,0
_next:
        ld a,(line_length)
        cp c
        ret c
        ld a,(line_column)
        add a,c
        cp SCREEN_COLUMNS
        ret nc
        ld e,a
        ld a,(cursor_row)
        add a,HIGH SCREEN
        ld d,a
        ld a,(line_length)
        cp c
        ld a,' '
        jr z,_draw
        ld hl,line_buffer
        add hl,bc
        ld a,(hl)
_draw:
        call put_glyph
        inc c
        jr _next

; Blanks the row from the line's first column to the right edge.
clear_line_area:
        ld a,(line_column)
        ld e,a
        ld a,(cursor_row)
        add a,HIGH SCREEN
        ld d,a
_blank:
        push de
        ld a,' '
        call put_glyph
        pop de
        inc e
        ld a,e
        cp SCREEN_COLUMNS
        jr c,_blank
        ret
