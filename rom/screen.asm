; The text screen: 32 rows of 32 characters of 8 x 8 pixels over the bitmap.
; The character in row r, column c starts at SCREEN + r * 256 + c; its eight
; pixel lines are 32 bytes apart, so the whole cell lies in one 256-byte page.

; Clears the screen and puts the cursor home.
clear_screen:
        push af
        push bc
        push de
        push hl
        ld hl,SCREEN
        ld de,SCREEN+1
        ld bc,SCREEN_ROWS*256-1
        ld (hl),0
        ldir
        ld (cursor_column),bc   ; BC = 0: column and row
        xor a
        ld (cursor_shown),a
        jp pop_all

; Prints the character in A at the cursor and moves the cursor on. 13 starts
; a new line; other codes below 32 are ignored. Keeps every register.
print_char:
        push af
        push bc
        push de
        push hl
        cp 13
        jr z,_newline
        cp 32
        jr c,_done
        ld hl,(cursor_column)   ; L = column, H = row
        ex de,hl
        ld hl,SCREEN
        add hl,de               ; H = page of the row, L = column
        ex de,hl
        call put_glyph
        ld a,(cursor_column)
        inc a
        ld (cursor_column),a
        cp SCREEN_COLUMNS
        jr c,_done
_newline:
        call new_line
_done:
        pop hl
        pop de
        pop bc
        pop af
        ret

; Moves the cursor to the start of the next line, scrolling at the bottom.
new_line:
        xor a
        ld (cursor_column),a
        ld a,(cursor_row)
        inc a
        cp SCREEN_ROWS
        jr c,_store
        call scroll_up
        ld a,SCREEN_ROWS-1
_store:
        ld (cursor_row),a
        ret

; Draws character A (32 to 127; others show as a space) into the cell whose
; top pixel line is at DE. Keeps BC.
put_glyph:
        sub 32
        cp 96
        jr c,_known
        xor a
_known:
        ld l,a
        ld h,0
        add hl,hl
        add hl,hl
        add hl,hl
        push bc
        ld bc,font
        add hl,bc
        ld b,8
_line:
        ld a,(hl)
        ld (de),a
        inc hl
        ld a,e
        add a,LINE_BYTES
        ld e,a
        djnz _line
        pop bc
        ret

; Moves every text row up by one and clears the bottom row.
scroll_up:
        push bc
        push de
        push hl
        ld hl,SCREEN+256
        ld de,SCREEN
        ld bc,256*(SCREEN_ROWS-1)
        ldir
        ld h,d
        ld l,e
        inc de
        ld bc,255
        ld (hl),0
        ldir
        pop hl
        pop de
        pop bc
        ret

; Shows the cursor when A is 0FFh, takes it away when A is 0: inverts the
; cursor's cell when it is not already so. Keeps every register.
show_cursor:
        push af
        push bc
        push hl
        ld hl,cursor_shown
        cp (hl)
        jr z,_done
        ld (hl),a
        ld hl,(cursor_column)
        ld bc,SCREEN
        add hl,bc
        ld b,8
_line:
        ld a,(hl)
        cpl
        ld (hl),a
        ld a,l
        add a,LINE_BYTES
        ld l,a
        djnz _line
_done:
        pop hl
        pop bc
        pop af
        ret

; Puts the cursor at row H, column L (both taken modulo the screen size).
set_cursor:
        push af
        ld a,h
        and SCREEN_ROWS-1
        ld (cursor_row),a
        ld a,l
        and SCREEN_COLUMNS-1
        ld (cursor_column),a
        pop af
        ret

; Prints the zero-terminated text at HL; HL ends past its zero.
print_string:
        push af
_next:
        ld a,(hl)
        inc hl
        or a
        jr z,_end
        call print_char
        jr _next
_end:
        pop af
        ret

; Prints the text that follows the call, up to its zero, and returns past it.
print_inline:
        ex (sp),hl
        call print_string
        ex (sp),hl
        ret

; Starts a new line unless the cursor is already at the start of one.
fresh_line:
        push af
        ld a,(cursor_column)
        or a
        call nz,new_line
        pop af
        ret

; Prints HL as four hex digits.
print_hex16:
        push af
        ld a,h
        call print_hex8
        ld a,l
        call print_hex8
        pop af
        ret

; Prints A as two hex digits. Keeps every register.
print_hex8:
        push af
        rrca
        rrca
        rrca
        rrca
        call _digit
        pop af
_digit:                         ; the digit of A's low four bits
        push af
        and 0Fh
        add a,90h               ; 90h-99h or, with the carry, 00h-05h
        daa
        adc a,40h               ; '0'-'9' or 'A'-'F'
        daa
        rst 08h
        pop af
        ret
