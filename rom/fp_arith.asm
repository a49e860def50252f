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
        call fp_unpack_arg
        ret z                   ; + 0: fp_acc, a float
        exx
        call fp_unpack_acc
        jp z,fp_arg_to_acc      ; 0 +: fp_arg, a float
        ld a,c
        exx
        sub c                   ; fp_acc's exponent less fp_arg's
        jr nc,_acc_larger
        neg
        exx
        ld c,a                  ; the smaller's C: how far it lies below
        exx
        jr _ordered
_acc_larger:
        ld c,a
        exx
_ordered:
        ; The larger number is in this set, the smaller in the other, its C
        ; the distance between them.
        ld a,b
        ld (fp_sign),a
        ld b,0
        ld (fp_e),bc
        ld b,a
        exx
        ld a,c
        cp 34                   ; below half the larger's last bit: no change
        jp nc,_larger
        ld a,b
        exx
        xor b
        ld b,a                  ; bit 7 set: the signs differ, so subtract
        exx
        ; The smaller moves right C places into DE:HL.A; bits lost below
        ; set bit 7 of C.
        ld a,c
        and 7
        ld b,a
        xor a
        inc b
        dec b
        jr z,_bytes
_bit:
        srl d
        rr e
        rr h
        rr l
        rra                     ; at most 7 places: nothing falls out of A
        djnz _bit
_bytes:
        bit 5,c
        jr z,_below32
        or l                    ; 32 or 33 places: D becomes the guard byte
        or h
        or e
        ld l,d
        ld h,b
        ld e,b
        ld d,b
        jr _lost
_below32:
        bit 4,c
        jr z,_below16
        or l
        ld l,h
        ld h,e
        ld e,d
        ld d,b
_lost:
        jr z,_byte
        set 7,c
_byte:
        ld a,l
        ld l,h
        ld h,e
        ld e,d
        ld d,b
_below16:
        bit 3,c
        jr z,_aligned
        or a
        jr z,_byte8
        set 7,c
_byte8:
        ld b,l
        ld l,h
        ld h,e
        ld e,d
        ld d,0
        ld a,b
_aligned:
        bit 7,c
        jr z,_combine
        or 1
_combine:
        push de
        push hl
        exx
        bit 7,b
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
_larger:
        exx
        ld bc,(fp_e)
        xor a
        jp fp_store
_integers:
        ; Two small integers: their sum in 17 bits.
        ld hl,(fp_arg)
        ld de,(fp_acc)
        adc hl,de               ; carry is clear from the OR
        jp po,fp_float_hl
        ld hl,fp_acc            ; beyond 16 bits: again, fp_acc a float
        call fp_float
        jp fp_add

; One step of a multiplication: when carry is set the multiplicand BC:BC' is
; added to the product's high half HL:HL'; then the product moves one place
; right, its lowest bit into the top of A, and A's lowest bit (the next
; multiplier bit) out into carry.
fp_mul_step MACRO
        LOCAL shift
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

; HL:HL'.A := HL:HL' + BC:BC' * A, taken as 40 bits with A the lowest byte:
; the product grows by a multiplier byte A. Carry must be clear. Keeps BC,
; DE and their other set.
fp_mul_byte:
        rra
        call _four
_four:
        fp_mul_step
        fp_mul_step
        fp_mul_step
        fp_mul_step
        ret

; fp_acc := fp_arg * fp_acc for two small integers: exact in 32 bits.
fp_mul_ints:
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

; fp_acc := fp_arg * fp_acc.
fp_mul:
        ld a,(fp_acc+4)
        ld hl,fp_arg+4
        or (hl)
        jr z,fp_mul_ints
        call fp_unpack_arg
        jp z,fp_zero
        ld (fp_t),hl
        ld (fp_t+2),de
        ld (fp_e),bc
        call fp_unpack_acc
        jp z,fp_zero
        ld a,(fp_e+1)
        xor b
        ld (fp_sign),a
        push hl                 ; the exponent: the sum less 128
        ld a,(fp_e)
        ld l,a
        ld h,0
        ld b,h
        add hl,bc
        ld bc,-128
        add hl,bc
        ld (fp_e),hl
        pop hl
        ; The multiplier's bytes are taken one by one from the bottom, its
        ; zero bytes there skipped: fp_acc's when its low half is zero (as for
        ; any small integer), else fp_arg's, kept at fp_t.
        ld a,h
        or l
        jr nz,_arg_multiplies
        ld bc,(fp_t)
        push bc
        exx
        pop bc
        exx
        ld bc,(fp_t+2)
        ld (fp_t),hl
        ld (fp_t+2),de
        jr _multiply
_arg_multiplies:
        ld b,d
        ld c,e
        push hl
        exx
        pop bc
        exx
_multiply:
        ; The multiplicand is BC:BC', the product's high half HL:HL', its
        ; next eight bits A; E' gathers the bits below those.
        ld hl,0
        exx
        ld hl,0
        ld e,l
        exx
        ld de,fp_t
_skip:
        ld a,(de)
        or a
        jr nz,_byte
        inc e
        jr _skip                ; the top byte is never zero
_next:
        exx
        or e
        ld e,a
        exx
        ld a,(de)
_byte:
        call fp_mul_byte
        inc e
        bit 2,e                 ; past fp_t + 3 (fp_t is a multiple of 8)
        jr z,_next
        exx
        inc e
        dec e
        jr z,_exact
        or 1
_exact:
        push hl
        exx
        ex de,hl
        pop hl
        ld bc,(fp_e)
        jp fp_normalize

; fp_acc := fp_arg / fp_acc; Division by zero when fp_acc is 0.
fp_div:
        call fp_unpack_acc      ; the divisor
        jr nz,_divisor
        ld a,ERR_DIVISION
        jp basic_error
_divisor:
        ld (fp_t),hl
        ld (fp_t+2),de
        ld (fp_e),bc
        call fp_unpack_arg      ; the dividend
        jp z,fp_zero
        ld a,(fp_e+1)
        xor b
        ld (fp_sign),a
        push hl
        ld a,(fp_e)             ; the exponent: the dividend's less the
        ld l,c                  ; divisor's, and 128
        ld h,0
        ld c,a
        ld b,h
        sbc hl,bc               ; carry is clear from the XOR
        ld bc,128
        add hl,bc
        ld (fp_e),hl
        ; The divisor is BC:BC', the remainder HL:HL'.
        ld bc,(fp_t+2)
        ex de,hl
        exx
        pop hl
        ld bc,(fp_t)
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
        call fp_unpack_acc
        ret z                   ; SQR 0 = 0
        inc b
        dec b
        jp nz,fp_bad_argument
        ld (fp_sq_n+5),hl       ; the mantissa, then zeros below it
        ld (fp_sq_n+7),de
        ld hl,fp_sq_n+4
        ld b,5
_clear:
        ld (hl),0
        dec hl
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
        ld hl,fp_sq_n+8         ; an odd exponent: half the mantissa
        ld b,5
        or a
_half:
        rr (hl)
        dec hl
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
        ld ix,fp_sq_n+8
_next_byte:
        ld b,(ix+0)
        dec ix
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
