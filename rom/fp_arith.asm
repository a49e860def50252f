; BASIC's + - * / and SQR: fp_arg op fp_acc into fp_acc, each rounded once,
; to nearest with ties to even.

; fp_acc := fp_arg - fp_acc.
fp_sub:
        call fp_neg
        ; fall through

; fp_acc := fp_arg + fp_acc.
fp_add:
        ld a,(fp_acc+4)
        ld hl,fp_arg+4
        or (hl)
        jp z,_integers
        call fp_floats
        ld a,(fp_acc+4)
        or a
        jp z,fp_arg_to_acc
        ld c,a
        ld a,(fp_arg+4)
        or a
        ret z
        ld b,a
        sub c                   ; how far fp_acc lies below fp_arg
        jr nc,_arg_larger
        neg
        cp 34                   ; fp_arg is below half the last bit of fp_acc
        ret nc
        ld b,c
        ld hl,(fp_arg)          ; the smaller here, the larger in the other set
        ld de,(fp_arg+2)
        exx
        ld hl,(fp_acc)
        ld de,(fp_acc+2)
        jr _signs
_arg_larger:
        cp 34
        jp nc,fp_arg_to_acc
        ld hl,(fp_acc)
        ld de,(fp_acc+2)
        exx
        ld hl,(fp_arg)
        ld de,(fp_arg+2)
_signs:
        ; The larger number's set is current, the smaller's (with the larger
        ; exponent in B) the other; A is the distance between them.
        ex af,af'
        ld a,d
        and 80h
        ld (fp_sign),a
        set 7,d
        ld c,a
        exx
        ld a,d
        set 7,d
        exx
        xor c
        ld c,a                  ; bit 7 set: the signs differ, so subtract
        exx
        ld a,b
        ld (fp_e),a
        xor a
        ld (fp_e+1),a
        ld c,a                  ; bits lost off the end: 0 or 80h
        ex af,af'
        ld b,a
        xor a                   ; the eight bits below the smaller one
        bit 5,b
        jr z,_below32
        or l                    ; 32 or 33 places: D becomes those eight bits
        or h
        or e
        jr z,_whole
        ld c,80h
_whole:
        ld a,d
        ld hl,0
        ld d,h
        ld e,l
        jr _bits
_below32:
        bit 4,b
        jr z,_below16
        ld a,l
        or a
        jr z,_whole16
        ld c,80h
_whole16:
        ld a,h
        ld l,e
        ld h,d
        ld de,0
_below16:
        bit 3,b
        jr z,_bits
        or a
        jr z,_whole8
        ld c,80h
_whole8:
        ld a,l
        ld l,h
        ld h,e
        ld e,d
        ld d,0
_bits:
        ex af,af'
        ld a,b
        and 7
        jr z,_aligned
        ld b,a
        ex af,af'
_bit:
        srl d
        rr e
        rr h
        rr l
        rra
        rr c                    ; at most 7 turns: C's bit never falls out
        djnz _bit
        ex af,af'
_aligned:
        ex af,af'
        inc c
        dec c
        jr z,_combine
        or 1
_combine:
        push de
        push hl
        exx
        bit 7,c
        pop bc
        jr nz,_subtract
        add hl,bc
        pop bc
        ex de,hl
        adc hl,bc
        ex de,hl
        ld bc,(fp_e)
        jp nc,fp_round
        rr d                    ; a carry out: one place right
        rr e
        rr h
        rr l
        rra
        jr nc,_carried
        or 1
_carried:
        inc bc
        jp fp_round
_subtract:
        neg                     ; borrows when the smaller has bits below
        sbc hl,bc
        pop bc
        ex de,hl
        sbc hl,bc
        ex de,hl
        ld bc,(fp_e)
        jp nc,fp_normalize
        xor a                   ; equal exponents, the smaller was larger
        sub l
        ld l,a
        ld a,0
        sbc a,h
        ld h,a
        ld a,0
        sbc a,e
        ld e,a
        ld a,0
        sbc a,d
        ld d,a
        ld a,(fp_sign)
        xor 80h
        ld (fp_sign),a
        xor a
        jp fp_normalize
_integers:
        ; Two small integers: their sum in 17 bits.
        ld hl,(fp_arg)
        ld de,(fp_acc)
        adc hl,de               ; carry is clear from the OR
        jp po,fp_float_hl
        ld a,h                  ; overflowed 16 bits: bit 16 is bit 15's opposite
        cpl
        and 80h
        ld c,a
        ld b,144
        jp z,fp_store16         ; 32768 to 65534: bit 15 is the top one
        call fp_negate_hl       ; -32769 to -65536: the magnitude is 10000h - HL
        ld a,h
        or l
        jp nz,fp_store16
        ld h,80h
        inc b
        jp fp_store16

; One bit of the multiplier (E's lowest): the multiplicand BC:BC' is added
; to the product's high half HL:HL' when it is set, and the product moves one
; place right, into A.
fp_mul_step MACRO
        LOCAL shift
        srl e
        jr nc,shift
        exx
        add hl,bc
        exx
        adc hl,bc
shift:
        rr h
        rr l
        exx
        rr h
        rr l
        exx
        rra
        ENDM

; fp_acc := fp_arg * fp_acc.
fp_mul:
        ld a,(fp_acc+4)
        ld hl,fp_arg+4
        or (hl)
        jp z,_integers
        call fp_floats
        ld a,(fp_acc+4)
        or a
        ret z
        ld c,a
        ld a,(fp_arg+4)
        or a
        jp z,fp_zero
        ld l,a
        ld h,0
        ld b,h
        add hl,bc
        ld bc,-128
        add hl,bc
        ld (fp_e),hl
        ld a,(fp_acc+3)
        ld hl,fp_arg+3
        xor (hl)
        and 80h
        ld (fp_sign),a
        ; The multiplier's bytes are taken one by one from the bottom, its
        ; zero bytes there skipped: fp_arg's when its low half is zero (as for
        ; any small integer), else fp_acc's.
        push ix
        ld hl,(fp_arg)
        ld a,h
        or l
        jr z,_arg_multiplies
        ld ix,fp_acc
        ld bc,(fp_arg+2)
        ld de,(fp_arg)
        jr _multiplicand
_arg_multiplies:
        ld ix,fp_arg
        ld bc,(fp_acc+2)
        ld de,(fp_acc)
_multiplicand:
        ; The multiplicand is BC:BC', the product's high half HL:HL', its
        ; next eight bits A; D counts bits, E holds the multiplier's byte.
        ; D' counts bytes, E' gathers the product's lower bits.
        set 7,b
        push de
        exx
        pop bc
        ld hl,0
        ld de,0400h
        exx
        ld hl,0
        xor a
        ld e,a
_skip:
        exx                     ; the bottom bytes that are zero add nothing
        dec d
        exx
        jr z,_top
        ld e,(ix+0)
        inc ix
        inc e
        dec e
        jr z,_skip
        jr _byte
_top:
        ld e,(ix+0)
        set 7,e
_byte:
        ld d,4
_bit:
        fp_mul_step
        fp_mul_step
        dec d
        jr nz,_bit
        exx
        inc d
        dec d
        jr z,_last
        or e                    ; a finished byte below the guard bits
        ld e,a
        dec d
        exx
        jr z,_top
        ld e,(ix+0)
        inc ix
        jr _byte
_last:
        pop ix
        push de
        push hl
        exx
        ex de,hl
        pop hl
        pop bc                  ; C: the lower bits, zero or not
        bit 7,d
        jr nz,_normal
        add a,a
        adc hl,hl
        rl e
        rl d
        inc c
        dec c
        jr z,_shifted
        or 1
_shifted:
        ld bc,(fp_e)
        dec bc
        jp fp_round
_normal:
        inc c
        dec c
        jr z,_rounding
        or 1
_rounding:
        ld bc,(fp_e)
        jp fp_round
_integers:
        ; Two small integers: their product is exact in 32 bits.
        ld hl,(fp_arg)
        ld de,(fp_acc)
        ld a,h
        xor d
        and 80h
        ld (fp_sign),a
        bit 7,h
        call nz,fp_negate_hl
        ex de,hl
        bit 7,h
        call nz,fp_negate_hl
        call multiply16
        jp fp_pack_long

; fp_acc := fp_arg / fp_acc; Division by zero when fp_acc is 0.
fp_div:
        call fp_floats
        ld a,(fp_acc+4)
        or a
        jr nz,_divisor
        ld a,ERR_DIVISION
        jp basic_error
_divisor:
        ld c,a
        ld a,(fp_arg+4)
        or a
        jp z,fp_zero
        ld l,a
        ld h,0
        ld b,h
        or a
        sbc hl,bc
        ld bc,128
        add hl,bc
        ld (fp_e),hl
        ld a,(fp_acc+3)
        ld hl,fp_arg+3
        xor (hl)
        and 80h
        ld (fp_sign),a
        ; The divisor is BC:BC', the remainder HL:HL'.
        ld bc,(fp_acc+2)
        set 7,b
        ld hl,(fp_arg+2)
        set 7,h
        exx
        ld bc,(fp_acc)
        ld hl,(fp_arg)
        or a
        sbc hl,bc
        exx
        sbc hl,bc
        jr c,_below
        push hl                 ; the quotient is 1 or more
        ld hl,(fp_e)
        inc hl
        ld (fp_e),hl
        pop hl
        jr _start
_below:
        exx                     ; below 1: twice the dividend, less the divisor
        add hl,bc
        exx
        adc hl,bc
        exx
        add hl,hl
        exx
        adc hl,hl
        exx
        or a
        sbc hl,bc
        exx
        sbc hl,bc
_start:
        ; The quotient's leading 1 is known; 32 more bits follow, the last
        ; a guard bit. The remainder may go negative: then the divisor is
        ; added back instead of taken away at the next step. Each step's
        ; sign, the opposite of its quotient bit, is gathered in A and a
        ; byte is pushed every eight steps. D counts bytes, E bits.
        ld de,0408h
_positive:
        exx
        add hl,hl
        exx
        adc hl,hl
        jr c,_positive_over
        exx
        sbc hl,bc
        exx
        sbc hl,bc
        jr c,_went_negative
_stays_positive:
        rla
        dec e
        jp nz,_positive
        push af
        ld e,8
        dec d
        jp nz,_positive
        jr _remainder
_positive_over:
        exx                     ; the 33-bit remainder exceeds the divisor
        or a
        sbc hl,bc
        exx
        sbc hl,bc
        or a
        jr _stays_positive
_went_negative:
        rla
        dec e
        jp nz,_negative
        push af
        ld e,8
        dec d
        jp nz,_negative
        exx                     ; the true remainder, for the bits below
        add hl,bc
        exx
        adc hl,bc
        jr _remainder
_negative:
        exx
        add hl,hl
        exx
        adc hl,hl
        jr c,_negative_over
        exx
        add hl,bc
        exx
        adc hl,bc
        jr c,_went_negative
        jr _stays_positive
_negative_over:
        exx
        add hl,bc
        exx
        adc hl,bc
        ccf
        jr c,_went_negative
        jr _stays_positive
_remainder:
        ld a,h
        or l
        exx
        or h
        or l
        exx
        ld c,0
        jr z,_exact
        inc c
_exact:
        pop af
        cpl
        ld l,a
        pop af
        cpl
        ld h,a
        pop af
        cpl
        ld e,a
        pop af
        cpl
        ld d,a
        scf                     ; the leading 1 in, the guard bit out
        rr d
        rr e
        rr h
        rr l
        ld a,0
        rra
        or c
        ld bc,(fp_e)
        jp fp_round

; fp_acc := the square root of fp_acc; Bad argument when it is negative.
; Digit by digit: each step brings down two bits of the radicand into the
; remainder R (C:DE:HL) and tries to take away U = 4 * root + 1 (C':DE':HL');
; the root's new bit is whether it went. 36 steps give the root to 36 bits.
fp_sqr:
        ld hl,fp_acc
        call fp_float
        ld a,(fp_acc+4)
        or a
        ret z
        ld c,a
        ld a,(fp_acc+3)
        or a
        jp m,fp_bad_argument
        or 80h
        ld (fp_sq_n),a
        ld hl,(fp_acc+1)
        ld a,l
        ld (fp_sq_n+2),a
        ld a,h
        ld (fp_sq_n+1),a
        ld a,(fp_acc)
        ld (fp_sq_n+3),a
        ld hl,fp_sq_n+4
        ld b,5
_clear:
        ld (hl),0
        inc hl
        djnz _clear
        ld a,c
        add a,1
        rra                     ; (exponent + 1) / 2, with bit 8 from the carry
        add a,64
        ld (fp_e),a
        xor a
        ld (fp_e+1),a
        ld (fp_sign),a
        bit 0,c
        jr z,_even
        ld hl,fp_sq_n           ; an odd exponent: half the mantissa
        ld b,5
        or a
_half:
        rr (hl)
        inc hl
        djnz _half
_even:
        ld a,9
        ld (fp_sq_count),a
        exx
        ld hl,1                 ; U = 1
        ld de,0
        ld c,e
        exx
        ld hl,0                 ; R = 0
        ld de,0
        ld c,e
        push ix
        ld ix,fp_sq_n
_next_byte:
        ld b,(ix+0)
        inc ix
        exx
        ld b,4
        exx
_step:
        sla b
        adc hl,hl
        rl e
        rl d
        rl c
        sla b
        adc hl,hl
        rl e
        rl d
        rl c
        ld a,l                  ; R - U
        exx
        sub l
        exx
        ld l,a
        ld a,h
        exx
        sbc a,h
        exx
        ld h,a
        ld a,e
        exx
        sbc a,e
        exx
        ld e,a
        ld a,d
        exx
        sbc a,d
        exx
        ld d,a
        ld a,c
        exx
        sbc a,c
        exx
        ld c,a
        jr nc,_one
        ld a,l                  ; too much: back again
        exx
        add a,l
        exx
        ld l,a
        ld a,h
        exx
        adc a,h
        exx
        ld h,a
        ld a,e
        exx
        adc a,e
        exx
        ld e,a
        ld a,d
        exx
        adc a,d
        exx
        ld d,a
        ld a,c
        exx
        adc a,c
        exx
        ld c,a
        exx
        add hl,hl               ; U := 2U - 1
        rl e
        rl d
        rl c
        dec l
        jr _counted
_one:
        exx
        add hl,hl               ; U := 2U + 3
        rl e
        rl d
        rl c
        dec l
        set 2,l
_counted:
        dec b
        exx
        jr nz,_step
        ld a,(fp_sq_count)
        dec a
        ld (fp_sq_count),a
        jr nz,_next_byte
        pop ix
        ; The root is U / 4: its top 32 bits at U's bits 37..6, the guard at
        ; bit 5; bits 4..2 and the remainder say whether anything is below.
        ld a,h
        or l
        or d
        or e
        or c
        exx
        ld b,a
        add hl,hl
        rl e
        rl d
        rl c
        add hl,hl
        rl e
        rl d
        rl c
        ld a,l
        and 0F0h
        inc b
        dec b
        jr z,_exact
        or 1
_exact:
        ld l,h
        ld h,e
        ld e,d
        ld d,c
        ld bc,(fp_e)
        jp fp_round
