; The line editor, shared by the monitor and BASIC. A line holds up to
; LINE_MAX characters after its prompt and wraps onto the rows below as it
; grows; when it would reach past the bottom row the screen scrolls up.
; Characters are inserted at the cursor; DEL removes the one before it; LEFT
; and RIGHT move along the line, across row ends; UP brings back the
; previous line; DOWN empties the line; CLEAR clears the screen and keeps
; the line; BREAK abandons it; RETURN ends it.
;
; The editor counts screen cells as row * 32 + column, so that a wrapped
; line is one run of cells: character i stands in cell line_start + i. The
; cell after the last character, where the cursor can go, is always kept on
; the screen; scrolling moves line_start up by a row.

monitor_prompt:
        DEFB "> ",0

; Reads a command line for the monitor: on a fresh row after "> ".
read_line:
        call fresh_line
        ld hl,monitor_prompt
        ld de,monitor_prompt+2  ; its zero: no text to start with
        ; on into edit_line

; Prints the zero-terminated prompt at HL (it may be empty) where the cursor
; is, and edits a line that starts as the zero-terminated text at DE (it may
; be empty; only its first LINE_MAX characters), the cursor at its end.
; Returns HL = line_buffer holding the zero-terminated line, and carry clear;
; or carry set when BREAK abandoned the line. The cursor is left at the
; start of the row below the line; break_flag is clear.
edit_line:
        ld (line_prompt),hl
        ld hl,line_buffer
        ld b,LINE_MAX
_take:
        ld a,(de)
        or a
        jr z,_taken
        ld (hl),a
        inc de
        inc hl
        djnz _take
_taken:
        ld a,LINE_MAX
        sub b                   ; the characters taken
        ld (line_length),a
        ld (line_position),a
        call show_prompt_and_line
_key:
        ld hl,(line_start)
        ld a,(line_position)
        call cursor_to_cell
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
        jr nc,_key
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
        jr _key

_delete:
        ld a,(line_position)
        or a
        jr z,_key
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
        xor a
        call draw_line_from     ; blanks what is left of the old line too
        jp _key

_clear:
        call clear_screen
        call show_prompt_and_line
        jp _key

_break:
        call _leave
        scf
        ret

_return:
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
        call _leave
        ld hl,line_buffer
        or a
        ret

; Puts the cursor after the line and moves to the start of the next row,
; unless the line ended exactly at a row's end and the cursor is there
; already. Clears break_flag.
_leave:
        xor a
        ld (break_flag),a
        ld hl,(line_start)
        ld a,(line_length)
        call cursor_to_cell
        ld a,(cursor_column)
        or a
        jp nz,new_line
        ld a,(line_length)
        or a
        jp z,new_line           ; an empty line moves down too
        ret

; Prints the prompt where the cursor is, starts the line in the cell after
; it and draws the whole line.
show_prompt_and_line:
        ld hl,(line_prompt)
        call print_string
        ld hl,(cursor_column)   ; L = column, H = row
        ld a,l
        ld l,h
        ld h,0
        add hl,hl
        add hl,hl
        add hl,hl
        add hl,hl
        add hl,hl               ; row * 32
        or l
        ld l,a
        ld (line_start),hl
        xor a
        ld (line_shown),a
        ; on into draw_line_from

; Draws the line from index A to its end, and blanks the cells of
; characters that the screen shows but the line no longer has. First
; scrolls the screen up, a row at a time, while the cell after the line's
; end lies below the bottom row.
draw_line_from:
        ld c,a
_fit:
        ld hl,(line_start)
        ld a,(line_length)
        ld e,a
        ld d,0
        add hl,de
        ld a,h
        cp HIGH (SCREEN_ROWS*SCREEN_COLUMNS)   ; 1024 cells: past the bottom row?
        jr c,_fits
        call scroll_up
        ld hl,(line_start)
        ld de,-SCREEN_COLUMNS
        add hl,de
        ld (line_start),hl
        jr _fit
_fits:
        ld a,(line_shown)
        ld b,a
        ld a,(line_length)
        ld (line_shown),a
        cp b
        jr c,_end               ; shorter than shown: draw up to B
        ld b,a
_end:
        ld hl,(line_start)
        ld e,c
        ld d,0
        add hl,de               ; the cell of character C
_next:
        ld a,c
        cp b
        ret nc
        push hl
        ld hl,line_length
        cp (hl)
        ld a,' '                ; a blank past the line's end
        jr nc,_glyph
        ld e,c
        ld d,0
        ld hl,line_buffer
        add hl,de
        ld a,(hl)
_glyph:
        pop hl
        push hl
        push af
        call cell_address
        pop af
        call put_glyph
        pop hl
        inc hl
        inc c
        jr _next

; Puts the cursor in cell HL + A.
cursor_to_cell:
        ld e,a
        ld d,0
        add hl,de
        ld a,l
        and SCREEN_COLUMNS-1
        ld (cursor_column),a
        add hl,hl
        add hl,hl
        add hl,hl               ; H = the row
        ld a,h
        ld (cursor_row),a
        ret

; DE := the top pixel line of cell HL. Destroys HL.
cell_address:
        ld a,l
        and SCREEN_COLUMNS-1
        ld e,a
        add hl,hl
        add hl,hl
        add hl,hl               ; H = the row
        ld a,h
        add a,HIGH SCREEN
        ld d,a
        ret
