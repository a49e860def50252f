; Reading the words and numbers of a command line. HL walks along the line;
; every routine leaves HL after what it read. Input that does not fit ends
; the command with a message (see error).

; Skips spaces: A = the next character, Z when the line has ended.
skip_spaces:
        ld a,(hl)
        cp ' '
        jr nz,_end
        inc hl
        jr skip_spaces
_end:
        or a
        ret

; Upper-cases A when it is a letter.
upper_case:
        cp 'a'
        ret c
        cp 'z'+1
        ret nc
        sub 'a'-'A'
        ret

; A hex number of 1 to 4 digits: DE = its value and carry clear; carry set
; when the line has ended.
parse_hex:
        call skip_spaces
        scf
        ret z
        ld de,0
        ld b,0                  ; digits read
_digit:
        ld a,(hl)
        call hex_value
        jp c,end_of_number
        inc b
        ld c,a
        ld a,b
        cp 5
        jp nc,error_number
        ex de,hl
        add hl,hl
        add hl,hl
        add hl,hl
        add hl,hl
        ld a,l
        or c
        ld l,a
        ex de,hl
        inc hl
        jr _digit

; A = the value of hex digit A and carry clear, or carry set.
hex_value:
        call upper_case
        sub '0'
        ret c
        cp 10
        ccf
        ret nc
        sub 'A'-'0'
        ret c
        cp 6
        ccf
        ret c
        add a,10
        ret

; A decimal number up to 65535: DE = its value and carry clear; carry set
; when the line has ended.
parse_decimal:
        call skip_spaces
        scf
        ret z
        ld de,0
        ld b,0
_digit:
        ld a,(hl)
        sub '0'
        jp c,end_of_number
        cp 10
        jp nc,end_of_number
        inc b
        push hl
        ld h,d
        ld l,e
        add hl,hl               ; DE * 10 + digit, refusing overflow
        jp c,error_number
        add hl,hl
        jp c,error_number
        add hl,de
        jp c,error_number
        add hl,hl
        jp c,error_number
        ld e,a
        ld d,0
        add hl,de
        jp c,error_number
        ex de,hl
        pop hl
        inc hl
        jr _digit

; B digits were read: a number has at least one.
end_of_number:
        ld a,b
        or a
        jp z,error_number
        ; and it ends like a word

; A number must end at a space or at the end of the line; carry clear.
end_of_word:
        ld a,(hl)
        or a
        ret z
        cp ' '
        jp nz,error_number
        or a
        ret

; A required hex number in DE.
need_hex:
        call parse_hex
        jp c,error_missing
        ret

; A required hex byte in A.
need_byte:
        call need_hex
        ld a,d
        or a
        jp nz,error_range
        ld a,e
        ret

; The line must have nothing more.
need_end:
        call skip_spaces
        ret z
        jp error_extra

; A name in double quotes, 1 to NAME_LENGTH characters, copied to DE padded
; with spaces. Carry set when the line has ended.
parse_name:
        call skip_spaces
        scf
        ret z
        cp '"'
        jp nz,error_name
        inc hl
        push de
        ld b,NAME_LENGTH
        ld a,' '
_pad:
        ld (de),a
        inc de
        djnz _pad
        pop de
        ld b,0
_char:
        ld a,(hl)
        or a
        jp z,error_name
        inc hl
        cp '"'
        jr z,_closed
        inc b
        ld c,a
        ld a,b
        cp NAME_LENGTH+1
        jp nc,error_name
        ld a,c
        ld (de),a
        inc de
        jr _char
_closed:
        ld a,b
        or a
        jp z,error_name
        jp end_of_word
