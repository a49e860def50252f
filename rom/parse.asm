; Reading the words and numbers of a command line. HL walks along the line;
; every routine leaves HL after what it read. Input that does not fit ends
; the command with a message (see error). need_hex and need_end are RST 20h
; and RST 28h (main.asm).

; Skips spaces: A = the next character, Z when the line has ended.
skip_spaces:
        ld a,(hl)
        inc hl
        cp ' '
        jr z,skip_spaces
        dec hl
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
; when the line has ended. B counts down the digits still allowed, from 5.
parse_hex:
        call skip_spaces
        scf
        ret z
        ld de,0
        ld b,5
_digit:
        ld a,(hl)
        call upper_case
        sub '0'
        cp 10
        jr c,_value             ; 0-9
        sub 'A'-'0'-10
        cp 10
        jr c,end_of_number      ; between 9 and A
        cp 16
        jr nc,end_of_number
_value:
        dec b
        jr z,error_number       ; a fifth digit
        ex de,hl
        add hl,hl
        add hl,hl
        add hl,hl
        add hl,hl
        or l
        ld l,a
        ex de,hl
        inc hl
        jr _digit

; A decimal number up to 65535: DE = its value and carry clear; carry set
; when the line has ended.
parse_decimal:
        call skip_spaces
        scf
        ret z
        ld de,0
        ld b,5
_digit:
        ld a,(hl)
        sub '0'
        cp 10
        jr nc,end_of_number
        dec b                   ; only to tell that a digit came
        push hl
        ld h,d
        ld l,e
        add hl,hl               ; DE * 10 + digit, refusing overflow
        jr c,error_number
        add hl,hl
        jr c,error_number
        add hl,de
        jr c,error_number
        add hl,hl
        jr c,error_number
        ld e,a
        ld d,0
        add hl,de
        jr c,error_number
        ex de,hl
        pop hl
        inc hl
        jr _digit

; B is still 5 when no digit was read: a number has at least one.
end_of_number:
        ld a,b
        cp 5
        jr z,error_number
        ; and it ends like a word

; A number must end at a space or at the end of the line; carry clear.
end_of_word:
        ld a,(hl)
        or a
        ret z
        cp ' '
        ret z
error_number:
        rst 30h
        DEFB "Bad number",0

; A required hex byte in A and E.
need_byte:
        rst 20h
        ld a,d
        or a
        ld a,e
        ret z
        jr error_range

; Stops with a message unless the block of BC bytes (not 0) from HL ends at
; FFFF or below. A = the high byte of its last address; keeps BC, DE, HL.
check_end:
        push hl
        push bc
        dec bc
        add hl,bc
        ld a,h
        pop bc
        pop hl
        ret nc
error_range:
        rst 30h
        DEFB "Value out of range",0

; A name in double quotes, 1 to NAME_LENGTH characters, copied to DE padded
; with spaces. Carry set when the line has ended.
parse_name:
        call skip_spaces
        scf
        ret z
        cp '"'
        jr nz,error_name
        inc hl
        push de
        ld b,NAME_LENGTH
        ld a,' '
_pad:
        ld (de),a
        inc de
        djnz _pad
        pop de
        ld b,NAME_LENGTH+1      ; counts down the characters still allowed
_char:
        ld a,(hl)
        or a
        jr z,error_name
        inc hl
        cp '"'
        jr z,_closed
        dec b
        jr z,error_name
        ld (de),a
        inc de
        jr _char
_closed:
        ld a,b
        cp NAME_LENGTH+1
        jr nz,end_of_word
error_name:
        rst 30h
        DEFB "Name: 1-10 chars in quotes",0
