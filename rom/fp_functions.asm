; BASIC's functions: SIN COS TAN ATN EXP LOG, powers, RND and PI. Each
; takes its argument to a small range where a short polynomial holds, taking
; off multiples of pi/2 or ln 2 that are split in parts of 16 bits, so that
; k times a part is exact. The polynomials are Chebyshev fits over those
; ranges, each term small beside the first so that its rounding hardly shows;
; fp_kernel works them out in 40-bit fixed point rather than in floats.

fp_pi:
        DEFB 0A2h,0DAh,00Fh,049h,082h   ; pi

; fp_acc -> the five bytes at DE.
fp_copy_acc:
        ld hl,fp_acc
        jp fp_copy5

; The flags of a kernel's data, its first byte.
KZ      EQU 1                   ; the series is in z = x^2, else in x itself
KX      EQU 2                   ; the result is x (1 -+ D), else 1 -+ D
KALT    EQU 4                   ; the series alternates: each step takes off
KNEG    EQU 8                   ; 1 - D, else 1 + D
KHALF   EQU 16                  ; the coefficients are halved (with 1 -+ D)

; fp_acc := the kernel at HL of x = fp_acc, |x| < 1, worked in fixed point:
; D = w P(w) with w = x^2 (or x), and the result 1 -+ D, or x (1 -+ D), as
; y -+ y D with y = 1 or x (its mantissa, in fp_ky). P's coefficients are
; 40-bit fractions, the highest power's first, each later one after the
; number of bytes of w its product takes (only as many as its term needs);
; those of a 1 -+ D are halved if KHALF, else D is halved at the end, as y
; is 1/2 there. A series in x itself changes its alternation and its final
; sign for x < 0.
fp_kernel:
        ld a,(hl)
        inc hl
        ld (fp_kf),a
        push hl                 ; the data
        call fp_unpack_acc      ; (0 goes through as well, slowly)
        ld (fp_ky+1),hl         ; y, what D is taken to: x's mantissa
        ld (fp_ky+3),de
        ld a,(fp_kf)
        bit 1,a
        jr nz,_odd              ; KX
        push hl
        rra
        jr c,_y                 ; KZ
        inc b
        dec b
        jr z,_y
        ld a,(fp_kf)
        xor KALT+KNEG
        ld (fp_kf),a
_y:
        ld hl,0                 ; or 1, positive: y = 80000000h
        ld (fp_ky+1),hl
        ld h,80h
        ld (fp_ky+3),hl
        pop hl
        ld a,c
        ld bc,129
        jr _shift
_odd:
        ld a,c
_shift:
        push bc                 ; the result's exponent and sign, y's
        cpl                     ; w = x: the mantissa 128 - e places right
        add a,129
        ld b,a
        xor a
        ld (fp_ky),a
        inc b
        jr _next_bit
_bit:
        srl d
        rr e
        rr h
        rr l
        rra
_next_bit:
        djnz _bit
        ld (fp_kw),a
        ld (fp_kw+1),hl
        ld (fp_kw+3),de
        ld a,(fp_kf)
        rra
        jr nc,_series           ; KZ
        ld hl,fp_kw+1           ; w = z
        ld d,h
        ld e,l
        ld a,4
        call fp_kproduct
        ld hl,fp_kt
        ld de,fp_kw
        call fp_copy5
_series:
        pop bc
        pop hl
        push bc
        ld a,(hl)               ; the steps
        inc hl
        ld de,fp_kt             ; the first coefficient
        call fp_copy5
_step:
        push af
        ld a,(hl)
        inc hl
        push hl
        ld hl,fp_kt+1
        ld de,fp_kw+1
        call fp_kproduct
        pop de                  ; the coefficient -+ the product
        ld a,(fp_kf)
        and KALT
        call fp_kadd
        ex de,hl
        pop af
        dec a
        jr nz,_step
        ld hl,fp_kw+1           ; D = w P(w), all 40 bits of P
        ld de,fp_kt+1
        ld a,5
        call fp_kproduct
        ld a,(fp_kf)
        bit 1,a
        jr nz,_times_x          ; KX
        and KHALF
        jr nz,_tail             ; D/2 as y is 1/2
        ld hl,fp_kt+4
        ld b,5
_half:
        rr (hl)
        dec hl
        djnz _half
        jr _tail
_times_x:
        ld hl,fp_ky+1           ; x D, as y is x
        ld de,fp_kt+1
        ld a,5
        call fp_kproduct
_tail:
        ld a,(fp_kf)
        and KNEG
        ld de,fp_ky
        call fp_kadd            ; y -+ it
        ld hl,(fp_kt+3)
        ex de,hl
        ld hl,(fp_kt+1)
        ld a,(fp_kt)
        pop bc
        jr nc,_signed
        rr d                    ; y + it reached 2y
        rr e
        rr h
        rr l
        rra
        inc c
_signed:
        push af
        ld a,b
        ld (fp_sign),a
        ld b,0
        pop af
        jp fp_normalize

; fp_kt := the top 40 bits of the 32-bit number at HL, rounded by the byte
; below it, times the top A bytes of the one at DE (below).
fp_kproduct:
        push af
        call fp_kload
        pop af
        call fp_kmul
        ld (fp_kt),a
        ld (fp_kt+1),hl
        ld (fp_kt+3),de
        ret

; fp_kt := the 40 bits at DE plus fp_kt, or less it if NZ (carry clear); DE
; past them. Carry: the sum reached 2 (1 for y = 1/2).
fp_kadd:
        ld hl,fp_kt
        ld b,5
        jr nz,_less
_plus:
        ld a,(de)
        adc a,(hl)
        ld (hl),a
        inc hl
        inc de
        djnz _plus
        ret
_less:
        ld a,(de)
        sbc a,(hl)
        ld (hl),a
        inc hl
        inc de
        djnz _less
        ret                     ; no borrow: the terms fall

; DE:HL.A := the top 40 bits of BC:BC' times the top A bytes (1 to 5) of
; the 32-bit number at DE, the others taken as zero (a fifth byte is the
; one below DE). Keeps BC, BC'.
fp_kmul:
        push af
        cpl                     ; DE += 4 - A: the lowest byte used
        add a,5
        add a,e
        ld e,a
        pop af
        exx
        ld d,a
        ld hl,0
        exx
        ld hl,0
        or a
_byte:
        ld a,(de)
        inc de
        call fp_mul_byte
        exx
        dec d
        exx
        jr nz,_byte
        ex de,hl
        exx
        push hl
        exx
        pop hl
        ret

; BC:BC' := the 32-bit number at HL, rounded by the byte below it (none of
; the kernel's numbers is so near 1 that it would round up to it).
fp_kload:
        dec hl
        ld a,(hl)
        inc hl
        add a,80h
        ld c,(hl)
        inc hl
        ld b,(hl)
        inc hl
        push bc
        ld c,(hl)
        inc hl
        ld b,(hl)
        exx
        pop bc
        ld hl,0
        adc hl,bc
        ld b,h
        ld c,l
        exx
        ret nc
        inc bc
        ret

; fp_r := fp_r - fp_k * the number at HL; fp_acc the same.
fp_less_k:
        push hl
        ld hl,(fp_k)
        call fp_from_signed
        pop hl
        call fp_load_arg
        call fp_mul
        ld hl,fp_r
        call fp_load_arg
        call fp_sub
        ld de,fp_r
        jp fp_copy_acc

; fp_r := fp_acc; fp_k and HL := INT(fp_acc * the number at HL + 1/2).
fp_nearest:
        push hl
        ld de,fp_r
        call fp_copy_acc
        pop hl
        call fp_mul_by
        ld hl,fp_half
        call fp_add_to
        call fp_to_signed
        ld (fp_k),hl
        ret

; fp_acc := fp_acc * the number at HL.
fp_mul_by:
        call fp_load_arg
        jp fp_mul

; fp_acc := fp_acc + the number at HL.
fp_add_to:
        call fp_load_arg
        jp fp_add

; The argument of a sine or cosine less k quarter turns, k = INT(x * 2/pi
; + 1/2), in fp_r and fp_acc; fp_q := the quarter the argument falls in.
fp_reduce:
        ld hl,fp_2_pi
        call fp_nearest
        ld a,(fp_q)
        add a,l
        and 3
        ld (fp_q),a
        ld hl,fp_pi2_a
        call fp_less_k
        ld hl,fp_pi2_b
        call fp_less_k
        ld hl,fp_pi2_c
        jr fp_less_k

; fp_acc := the sine of fp_acc (in fp_r too), |fp_acc| <= pi/4.
fp_sin_r:
        ld hl,fp_sin_poly
        jp fp_kernel

; fp_acc := the cosine of fp_r, |fp_r| <= pi/4.
fp_cos_r:
        ld hl,fp_r
        call fp_load_acc
        ld hl,fp_cos_poly
        jp fp_kernel

; fp_acc := COS(fp_acc), the sine a quarter turn on.
fp_cos:
        ld a,1
        jr fp_sine

; fp_acc := SIN(fp_acc).
fp_sin:
        xor a
fp_sine:
        ld (fp_q),a
        call fp_reduce
        ld a,(fp_q)
        rra
        jr c,_cosine
        call fp_sin_r
        jr _sign
_cosine:
        call fp_cos_r
_sign:
        ld a,(fp_q)
        and 2
        ret z
        jp fp_neg

; fp_acc := TAN(fp_acc): the sine over the cosine of the reduced argument,
; or minus the cosine over the sine in the odd quarters.
fp_tan:
        xor a
        ld (fp_q),a
        call fp_reduce
        call fp_sin_r
        ld de,fp_py
        call fp_copy_acc
        call fp_cos_r
        ld a,(fp_q)
        rra
        jr c,_odd
        ld hl,fp_py
        call fp_load_arg
        jp fp_div
_odd:
        call fp_acc_to_arg
        ld hl,fp_py
        call fp_load_acc
        call fp_div
        jp fp_neg

; fp_acc := ATN(fp_acc). Above 1 it is pi/2 - ATN(1/x); above tan(pi/12)
; pi/6 + ATN((x * sqrt 3 - 1) / (x + sqrt 3)); then t + t * z * P(z).
fp_atn:
        call fp_abs
        ld a,0
        rla
        ld (fp_flags),a         ; bit 0: negative
        ld hl,fp_one
        call fp_load_arg
        call fp_compare
        inc a
        jr nz,_small
        call fp_div             ; above 1: 1 / x
        ld hl,fp_flags
        set 1,(hl)
_small:
        ld hl,fp_tan15
        call fp_load_arg
        call fp_compare
        inc a
        jr nz,_series
        ld hl,fp_flags
        set 2,(hl)
        ld de,fp_z
        call fp_copy_acc
        ld hl,fp_sqrt3
        call fp_mul_by
        ld hl,fp_minus_one
        call fp_add_to
        ld de,fp_r
        call fp_copy_acc
        ld hl,fp_z
        call fp_load_acc
        ld hl,fp_sqrt3
        call fp_add_to
        ld hl,fp_r
        call fp_load_arg
        call fp_div
_series:
        ld hl,fp_atn_poly
        call fp_kernel
        ld hl,fp_flags
        bit 2,(hl)
        ld hl,fp_pi6
        call nz,fp_add_to
        ld hl,fp_flags
        bit 1,(hl)
        ld hl,fp_minus_pi2      ; pi/2 - t: t - pi/2, its sign turned
        call nz,fp_add_to
        ld a,(fp_flags)
        ld b,a
        rra
        xor b
        rra
        ret nc
        jp fp_neg

; fp_acc := EXP(fp_acc) = 2^n * e^r, n = INT(x / ln 2 + 1/2).
fp_exp:
        ld hl,fp_acc
        call fp_float
        ld a,(fp_acc+4)
        cp 137
        jr c,_range             ; |x| < 256
        ld a,(fp_acc+3)
        rla
        jp nc,fp_overflow
        jp fp_zero
_range:
        ld hl,fp_1_ln2
        call fp_nearest
        ld hl,fp_ln2_a
        call fp_less_k
        ld hl,fp_ln2_b
        call fp_less_k
        ld hl,fp_exp_poly
        call fp_kernel
        ld hl,fp_acc+4          ; times 2^n: e^r is a float near 1
        ld e,(hl)
        ld d,0
        ld hl,(fp_k)
        add hl,de
        ld a,h
        or a
        jr nz,_out
        or l
        jp z,fp_zero
        ld (fp_acc+4),a
        ret
_out:
        jp m,fp_zero
        jp fp_overflow

; fp_acc := LOG(fp_acc), Bad argument unless it is above 0. With x = 2^n
; * m, m from 0.707 to 1.414: n ln 2 + 2t, where t = s + s * z * P(z) is
; atanh s, s = (m - 1) / (m + 1).
fp_log:
        ld hl,fp_acc
        call fp_float
        ld a,(fp_acc+4)
        or a
        jp z,fp_bad_argument
        ld hl,(fp_acc+3)
        bit 7,l
        jp nz,fp_bad_argument
        ld a,l
        or 80h
        ld e,128
        cp 0B5h                 ; m below 0.707: twice m, and one less 2
        jr nc,_m
        inc e
_m:
        ld a,e
        ld (fp_acc+4),a
        ld l,h
        ld h,0
        ld d,h
        ex de,hl
        or a
        sbc hl,de               ; -n, for fp_less_k
        ld (fp_k),hl
        ld de,fp_z
        call fp_copy_acc
        ld hl,fp_minus_one
        call fp_add_to
        ld de,fp_r
        call fp_copy_acc
        ld hl,fp_z
        call fp_load_acc
        ld hl,fp_one
        call fp_add_to
        ld hl,fp_r
        call fp_load_arg
        call fp_div
        ld hl,fp_log_poly
        call fp_kernel
        ld hl,fp_acc+4          ; 2t
        ld a,(hl)
        or a
        jr z,_doubled
        inc (hl)
_doubled:
        ld de,fp_r
        call fp_copy_acc
        ld hl,fp_ln2_b          ; + n ln 2, the small part first
        call fp_less_k
        ld hl,fp_ln2_a
        jp fp_less_k

; fp_acc := fp_arg ^ fp_acc. An integer power multiplies: from the
; exponent's top bit down, the power so far is squared and for a 1 bit
; multiplied by the base (so it is exact while the result fits); others go
; through EXP(y * LOG(x)), for x above 0.
fp_pow:
        ld hl,fp_arg
        ld de,fp_pw
        call fp_copy5
        ld de,fp_py
        call fp_copy_acc
        call fp_abs
        sbc a,a
        ld (fp_flags),a
        ld a,(fp_acc+4)
        or a
        ld hl,(fp_acc)
        ld de,0
        jr z,_integer
        call fp_floor_long
        jr c,_real
        inc c                   ; a fraction dropped: not an integer
        dec c
        jr nz,_real
_integer:
        ld b,33                 ; B - 1: the bits not yet passed
_bytes:
        ld a,d
        or a
        jr nz,_top
        ld d,e                  ; a zero byte at the top: all eight at once
        ld e,h
        ld h,l
        ld l,a
        ld a,b
        sub 8
        ld b,a
        jr nc,_bytes
        inc hl                  ; x ^ 0 = 1
        jp fp_from_signed
_top:
        dec b
        add hl,hl
        rl e
        rl d
        jr nc,_top

        ld (fp_pn),hl           ; the bits below the top one
        ld (fp_pn+2),de
        ld a,b
        ld (fp_q),a             ; and one more than their number
        ld hl,fp_pw
        call fp_load_acc
_bit:
        ld hl,fp_q
        dec (hl)
        jr z,_done
        call fp_acc_to_arg
        call fp_mul
        ld hl,fp_pn
        sla (hl)
        inc hl
        rl (hl)
        inc hl
        rl (hl)
        inc hl
        rl (hl)
        jr nc,_bit
        ld hl,fp_pw
        call fp_mul_by
        jr _bit
_done:
        ld a,(fp_flags)
        or a
        ret z
        ld hl,fp_one            ; a negative power: 1 / x^n
        call fp_load_arg
        jp fp_div
_real:
        ld hl,fp_pw
        call fp_float
        ld a,(fp_pw+4)
        or a
        jr nz,_positive
        ld a,(fp_flags)         ; 0 ^ y
        or a
        jp z,fp_zero
        ld a,ERR_DIVISION
        jp basic_error
_positive:
        ld a,(fp_pw+3)
        rla
        jp c,fp_bad_argument
        ld hl,fp_pw
        call fp_load_acc
        call fp_log
        ld hl,fp_py
        call fp_mul_by
        jp fp_exp

; fp_acc := the next number from [0, 1): a xorshift generator on 32 bits,
; x ^= x << 13, x ^= x >> 17, x ^= x << 5, whose state never becomes 0.
fp_rnd:
        ld hl,(fp_seed)
        ld de,(fp_seed+2)
        ld a,h
        or l
        or d
        or e
        jr nz,_step
        ld hl,79B9h             ; never seeded
        ld de,9E37h
        ld (fp_seed),hl
        ld (fp_seed+2),de
_step:
        ld d,e
        ld e,h
        ld h,l
        ld l,0
        ld b,5
_left13:
        add hl,hl
        rl e
        rl d
        djnz _left13
        call _mix
        ld l,e
        ld h,d
        ld de,0
        srl h
        rr l
        call _mix
        ld b,5
_left5:
        add hl,hl
        rl e
        rl d
        djnz _left5
        call _mix
        xor a
        ld (fp_sign),a
        call fp_pack_long
        ld a,(fp_acc+4)         ; over 2^32
        sub 32
        ld (fp_acc+4),a
        ret
_mix:
        ; The state ^= DE:HL, and DE:HL := the new state.
        ld a,(fp_seed)
        xor l
        ld l,a
        ld a,(fp_seed+1)
        xor h
        ld h,a
        ld a,(fp_seed+2)
        xor e
        ld e,a
        ld a,(fp_seed+3)
        xor d
        ld d,a
        ld (fp_seed),hl
        ld (fp_seed+2),de
        ret

; Seeds RND from fp_acc: the same number gives the same sequence after it.
fp_randomize:
        ld hl,(fp_acc)
        ld de,(fp_acc+2)
        ld a,(fp_acc+4)
        xor l
        ld l,a
        ld (fp_seed),hl
        ld (fp_seed+2),de
        ret

fp_one:
        DEFB 1,0,0,0,0                  ; 1, a small integer
fp_minus_one:
        DEFB 0FFh,0FFh,0,0,0            ; -1
fp_2_pi:
        DEFB 06Eh,083h,0F9h,022h,080h   ; 2/pi
fp_minus_pi2:
        DEFB 0A2h,0DAh,00Fh,0C9h,081h   ; -pi/2
fp_pi2_a:
        DEFB 000h,000h,00Fh,049h,081h   ; pi/2 in three parts
fp_pi2_b:
        DEFB 000h,000h,0A2h,05Ah,071h
fp_pi2_c:
        DEFB 0D3h,008h,0A3h,005h,05Fh
fp_pi6:
        DEFB 0C1h,091h,00Ah,006h,080h   ; pi/6
fp_tan15:
        DEFB 0F5h,0A2h,030h,009h,07Fh   ; tan(pi/12) = 2 - sqrt 3
fp_sqrt3:
        DEFB 043h,0D7h,0B3h,05Dh,081h   ; sqrt 3
fp_1_ln2:
        DEFB 029h,03Bh,0AAh,038h,081h   ; 1 / ln 2
fp_ln2_a:
        DEFB 000h,000h,072h,031h,080h   ; ln 2 in two parts
fp_ln2_b:
        DEFB 07Ch,08Eh,0BEh,03Fh,06Dh
fp_sin_poly:                    ; sin r = r (1 - z P(z)), |r| <= pi/4
        DEFB KZ+KX+KALT+KNEG
        DEFB 3,0C1h,0B7h,02Dh,000h,000h
        DEFB 2,03Dh,09Dh,000h,00Dh,000h
        DEFB 3,0DEh,01Bh,022h,022h,002h
        DEFB 4,08Ch,0AAh,0AAh,0AAh,02Ah
fp_cos_poly:                    ; cos r = 1 - z P(z), |r| <= pi/4
        DEFB KZ+KALT+KNEG
        DEFB 4,0D4h,091h,004h,000h,000h
        DEFB 2,099h,012h,0A0h,001h,000h
        DEFB 3,0B9h,0AEh,005h,05Bh,000h
        DEFB 3,08Ah,0AAh,0AAh,0AAh,00Ah
        DEFB 4,000h,000h,000h,000h,080h
fp_atn_poly:                    ; atn t = t (1 - z P(z)), |t| <= tan(pi/12)
        DEFB KZ+KX+KALT+KNEG
        DEFB 4,095h,044h,037h,011h,014h
        DEFB 2,043h,0D5h,0D8h,03Fh,01Ch
        DEFB 3,00Bh,00Eh,006h,091h,024h
        DEFB 3,0B6h,051h,030h,033h,033h
        DEFB 4,047h,054h,055h,055h,055h
fp_exp_poly:                    ; e^r = 1 + r P(r), |r| <= (ln 2)/2, P halved
        DEFB KHALF
        DEFB 8,072h,02Ch,017h,000h,000h
        DEFB 1,028h,0ADh,0D0h,000h,000h
        DEFB 2,0B7h,066h,080h,006h,000h
        DEFB 2,0BFh,0C9h,082h,02Dh,000h
        DEFB 3,01Ch,011h,011h,011h,001h
        DEFB 3,0D1h,055h,055h,055h,005h
        DEFB 4,055h,055h,055h,055h,015h
        DEFB 4,0FFh,0FFh,0FFh,0FFh,03Fh
        DEFB 4,000h,000h,000h,000h,080h
fp_log_poly:                    ; atanh s = s (1 + z P(z)), |s| <= 0.1716
        DEFB KZ+KX
        DEFB 3,0E5h,0DEh,00Bh,0DDh,01Dh
        DEFB 2,00Ch,052h,087h,08Bh,024h
        DEFB 3,037h,06Eh,03Dh,033h,033h
        DEFB 4,0ECh,052h,055h,055h,055h
