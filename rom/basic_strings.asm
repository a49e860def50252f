; Strings. A string value is reached through a descriptor: its address, its
; length (0-255) and two bytes the collector uses. Variables' slots and
; array elements are descriptors; so are the temporary descriptors in
; temp_pool, which hold the strings an expression makes on its way (a
; literal in the program, a joined string) until the statement has used
; them. eval starts the pool empty for each statement's expression.

; fp_acc := a new temporary descriptor of the string at DE, C characters.
; Keeps HL.
temp_push:
        push hl
        ld hl,(temp_top)
        push hl
        ld a,l
        cp LOW TEMP_END
        jp z,too_complex
        ld (hl),e
        inc hl
        ld (hl),d
        inc hl
        ld (hl),c
        inc hl
        inc hl
        inc hl
        ld (temp_top),hl
        pop hl
        ld (fp_acc),hl
        ld a,1
        ld (val_type),a
        pop hl
        ret

; The string literal after the '"' at HL-1 (the line's end closes it).
string_literal:
        ld d,h
        ld e,l
        ld c,0
_char:
        ld a,(hl)
        or a
        jr z,temp_push
        inc hl
        cp '"'
        jr z,temp_push
        inc c
        jr _char

; DE := the address of fp_acc's string, C := its length.
acc_string:
        push hl
        ld hl,(fp_acc)
        ld e,(hl)
        inc hl
        ld d,(hl)
        inc hl
        ld c,(hl)
        pop hl
        ret

; Prints fp_acc's string.
print_string_value:
        call acc_string
        inc c
_char:
        dec c
        ret z
        ld a,(de)
        inc de
        call print_char
        jr _char

string_concat:
string_compare:
string_assign:
        jp syntax_error

str_collect:
        ret

; The functions come with the strings' stage.
eval_function:
        jp syntax_error
