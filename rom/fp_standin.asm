; Stand-ins for the floating-point package, which is being written on its own:
; the same names and contracts, for small integers only. A float operand or
; result gives Overflow, except that whole numbers up to 2^32 can be made
; (fp_from_unsigned, fp_from_long, fp_parse), printed (fp_format) and turned
; back into a word (fp_to_word), so that FRE and line numbers above 32767
; work. This file goes when the package arrives.

fp_acc          EQU 4100h
fp_arg          EQU 4105h

; HL := fp_acc's small integer; Overflow for a float.
sti_acc:
        ld a,(fp_acc+4)
        or a
        jr nz,sti_overflow
        ld hl,(fp_acc)
        ret

; DE := fp_arg's small integer, HL := fp_acc's; carry clear.
sti_both:
        ld a,(fp_arg+4)
        or a
        jr nz,sti_overflow
        ld de,(fp_arg)
        jr sti_acc

sti_overflow:
        ld a,ERR_OVERFLOW
        jp basic_error

fp_from_signed:
        ld (fp_acc),hl
        xor a
        ld (fp_acc+2),a
        ld (fp_acc+3),a
        ld (fp_acc+4),a
        ret

fp_from_unsigned:
        ld de,0
fp_from_long:
        ld a,d
        or e
        jr nz,_float
        bit 7,h
        jr z,fp_from_signed
_float:
        ld b,160                ; DE:HL = 0.1xxx (binary) x 2^32 once normalised
_normalise:
        bit 7,d
        jr nz,_store
        add hl,hl
        rl e
        rl d
        dec b
        jr _normalise
_store:
        res 7,d                 ; the implied top bit's place holds the sign
        ld (fp_acc),hl
        ld (fp_acc+2),de
        ld a,b
        ld (fp_acc+4),a
        ret

fp_to_signed:
        jr sti_acc

fp_to_word:
        ld a,(fp_acc+4)
        or a
        jr z,sti_acc
        call sti_whole          ; DE:HL
        ld a,d
        or e
        jr nz,sti_overflow
        ret

; DE:HL := fp_acc, a positive whole float below 2^32.
sti_whole:
        ld a,(fp_acc+3)
        or a
        jp m,sti_overflow
        ld a,(fp_acc+4)
        sub 129
        cp 32
        jr nc,sti_overflow
        ld hl,(fp_acc)
        ld de,(fp_acc+2)
        set 7,d
        cpl
        add a,32                ; shifts: 31 - (exponent - 129)
        ret z
_shift:
        srl d
        rr e
        rr h
        rr l
        dec a
        jr nz,_shift
        ret

fp_add:
        call sti_both
        adc hl,de
        jp pe,sti_overflow
        jr fp_from_signed

fp_sub:
        call sti_both
        ex de,hl
        sbc hl,de
        jp pe,sti_overflow
        jp fp_from_signed

fp_mul:
        call sti_both
        call int_mul
        jp c,sti_overflow
        jp fp_from_signed

fp_div:
        call sti_both
        ld a,h
        or l
        ld a,ERR_DIVISION
        jp z,basic_error
        call int_div
        jp c,sti_overflow
        jp fp_from_signed

fp_pow:
        call sti_both
        bit 7,h
        jp nz,sti_overflow
        ld b,h
        ld c,l
        ld hl,1
_factor:
        ld a,b
        or c
        jp z,fp_from_signed
        push bc
        push de
        call int_mul
        pop de
        pop bc
        jp c,sti_overflow
        dec bc
        jr _factor

fp_compare:
        call sti_both
        ex de,hl
        call int_compare
        ld a,0
        ret z
        inc a
        ret nc
        ld a,0FFh
        or a
        ret

fp_neg:
        call sti_acc
        call negate_hl
        jp pe,sti_overflow
sti_signed:
        jp fp_from_signed

fp_abs:
        call sti_acc
        bit 7,h
        ret z
        jr fp_neg

fp_sgn:
        call sti_acc
        ld a,h
        or l
        ret z
        bit 7,h
        ld hl,1
        jr z,sti_signed
        ld hl,-1
        jr sti_signed

fp_int:
        jp sti_acc

fp_sqr:
        call sti_acc
        bit 7,h
        ld a,ERR_ARGUMENT
        jp nz,basic_error
        ld de,1                 ; subtract 1, 3, 5, ... while they fit
        ld bc,0                 ; the root so far
_odd:
        ld a,h
        or l
        jr z,_root
        or a
        sbc hl,de
        jp c,sti_overflow
        inc de
        inc de
        inc bc
        jr _odd
_root:
        ld h,b
        ld l,c
        jr sti_signed

fp_sin:
fp_tan:
fp_atn:
        call sti_acc
        ld a,h
        or l
        ret z
        jp sti_overflow

fp_cos:
fp_exp:
        call sti_acc
        ld a,h
        or l
        jp nz,sti_overflow
        inc hl
        jr sti_signed

fp_log:
        call sti_acc
        dec hl
        ld a,h
        or l
        jr z,sti_signed
        bit 7,h
        jp z,sti_overflow
        ld a,ERR_ARGUMENT
        jp basic_error

fp_rnd:
        jp sti_overflow

fp_randomize:
        ret

fp_pi:
        DEFB 0A2h,0DAh,0Fh,49h,82h

; A number at HL: an optional sign and digits. Carry and HL unchanged when
; there is none; a fraction or an exponent gives Overflow.
fp_parse:
        push hl
        ld a,(hl)
        cp '+'
        jr z,_sign
        cp '-'
        jr nz,_digits
_sign:
        inc hl
_digits:
        ld a,(hl)
        sub '0'
        cp 10
        jr nc,_none
        call read_decimal
        ld a,(hl)
        cp '.'
        jp z,sti_overflow
        and 0DFh
        cp 'E'
        jp z,sti_overflow
        ex (sp),hl
        ld a,(hl)
        pop hl
        push hl
        ex de,hl
        cp '-'
        jr z,_negative
        call fp_from_unsigned
        jr _done
_negative:
        call negate_hl
        ld a,h
        or l
        jr z,_small
        bit 7,h
        jp z,sti_overflow       ; above 32768
_small:
        call fp_from_signed
_done:
        pop hl
        or a
        ret
_none:
        pop hl
        scf
        ret

; fp_acc as text at DE: a space or '-', the digits, a zero.
fp_format:
        ld a,(fp_acc+4)
        or a
        jr nz,_whole
        ld hl,(fp_acc)
        ld a,' '
        bit 7,h
        jr z,_sign
        call negate_hl
        ld a,'-'
_sign:
        ld (de),a
        inc de
        jp utoa
_whole:
        ld a,' '
        ld (de),a
        inc de
        push de
        pop ix
        call sti_whole
        xor a
        push af                 ; the digits go on the stack above this zero
_digit:
        ld bc,10
        call divide32
        ld a,c
        add a,'0'
        push af
        ld a,h
        or l
        or d
        or e
        jr nz,_digit
_store:
        pop af
        ld (ix+0),a
        inc ix
        or a
        jr nz,_store
        ret
