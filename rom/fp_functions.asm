; BASIC's functions: SIN COS TAN ATN EXP LOG, powers, RND and PI. Each
; takes its argument to a small range where a short polynomial holds, taking
; off multiples of pi/2 or ln 2 that are split in parts of 16 bits, so that
; k times a part is exact. The polynomials are Chebyshev fits over those
; ranges, each term small beside the first so that its rounding hardly shows.

fp_pi:
        DEFB 0A2h,0DAh,00Fh,049h,082h   ; pi

; fp_acc -> the five bytes at DE.
fp_copy_acc:
        ld hl,fp_acc
        ld bc,5
        ldir
        ret

; fp_acc := the polynomial at HL in fp_acc: a count n, then n + 1
; coefficients, the highest power's first (Horner's rule).
fp_poly:
        push hl
        ld de,fp_px
        call fp_copy_acc
        pop hl
        ld b,(hl)
        inc hl
        push bc
        call fp_load_acc
        pop bc
_term:
        push bc
        push hl
        ld hl,fp_px
        call fp_load_arg
        call fp_mul
        pop hl
        call fp_load_arg
        push hl
        call fp_add
        pop hl
        pop bc
        djnz _term
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
        jr fp_copy_acc

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
        ld de,fp_r
        call fp_copy_acc
        ld hl,fp_2_pi
        call fp_mul_by
        ld hl,fp_half
        call fp_add_to
        call fp_to_signed
        ld (fp_k),hl
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

; fp_acc := the sine of fp_acc (in fp_r too), |fp_acc| <= pi/4:
; r + r * z * P(z) with z = r^2.
fp_sin_r:
        call fp_acc_to_arg
        call fp_mul
        ld de,fp_z
        call fp_copy_acc
        ld hl,fp_sin_poly
        call fp_poly
        ld hl,fp_z
        call fp_mul_by
        ld hl,fp_r
        call fp_mul_by
        ld hl,fp_r
        jr fp_add_to

; fp_acc := the cosine of fp_r, |fp_r| <= pi/4: 1 + z * R(z).
fp_cos_r:
        ld hl,fp_r
        call fp_load_acc
        call fp_acc_to_arg
        call fp_mul
        ld de,fp_z
        call fp_copy_acc
        ld hl,fp_cos_poly
        call fp_poly
        ld hl,fp_z
        call fp_mul_by
        ld hl,fp_one
        jr fp_add_to

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
        ld a,(fp_acc+4)
        or a
        ld a,(fp_acc+1)
        jr z,_sign
        ld a,(fp_acc+3)
_sign:
        rlca
        and 1
        ld (fp_flags),a
        call fp_abs
        ld hl,fp_one
        call fp_load_arg
        call fp_compare
        inc a
        jr nz,_small
        ld hl,fp_one            ; above 1
        call fp_load_arg
        call fp_div
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
        ld de,fp_r
        call fp_copy_acc
        call fp_acc_to_arg
        call fp_mul
        ld de,fp_z
        call fp_copy_acc
        ld hl,fp_atn_poly
        call fp_poly
        ld hl,fp_z
        call fp_mul_by
        ld hl,fp_r
        call fp_mul_by
        ld hl,fp_r
        call fp_add_to
        ld hl,fp_flags
        bit 2,(hl)
        ld hl,fp_pi6
        call nz,fp_add_to
        ld hl,fp_flags
        bit 1,(hl)
        jr z,_signed
        ld hl,fp_pi2
        call fp_load_arg
        call fp_sub
_signed:
        ld a,(fp_flags)
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
        ld de,fp_r
        call fp_copy_acc
        ld hl,fp_1_ln2
        call fp_mul_by
        ld hl,fp_half
        call fp_add_to
        call fp_to_signed
        ld (fp_k),hl
        ld hl,fp_ln2_a
        call fp_less_k
        ld hl,fp_ln2_b
        call fp_less_k
        ld hl,fp_exp_poly
        call fp_poly
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
        or a
        sbc hl,de
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
        ld de,fp_r
        call fp_copy_acc
        call fp_acc_to_arg
        call fp_mul
        ld de,fp_z
        call fp_copy_acc
        ld hl,fp_log_poly
        call fp_poly
        ld hl,fp_z
        call fp_mul_by
        ld hl,fp_r
        call fp_mul_by
        ld hl,fp_r
        call fp_add_to
        ld a,(fp_acc+4)         ; 2t
        or a
        jr z,_doubled
        inc a
        ld (fp_acc+4),a
_doubled:
        ld de,fp_r
        call fp_copy_acc
        ld hl,(fp_k)
        call fp_from_signed
        ld hl,fp_ln2_b
        call fp_mul_by
        ld hl,fp_r
        call fp_add_to
        ld de,fp_r
        call fp_copy_acc
        ld hl,(fp_k)
        call fp_from_signed
        ld hl,fp_ln2_a
        call fp_mul_by
        ld hl,fp_r
        jp fp_add_to

; fp_acc := fp_arg ^ fp_acc. An integer power multiplies, squaring the base
; for each bit of the exponent (so it is exact while the result fits);
; others go through EXP(y * LOG(x)), for x above 0.
fp_pow:
        ld hl,fp_arg
        call fp_float
        ld hl,fp_arg
        ld de,fp_pw
        ld bc,5
        ldir
        ld de,fp_py
        call fp_copy_acc
        ld a,(fp_acc+4)
        or a
        ld a,(fp_acc+1)
        jr z,_sign
        ld a,(fp_acc+3)
_sign:
        and 80h
        ld (fp_flags),a
        call fp_abs
        ld a,(fp_acc+4)
        or a
        jr z,_whole
        call fp_floor_long
        jr c,_real
        inc c                   ; a fraction dropped: not an integer
        dec c
        jr nz,_real
        jr _integer
_whole:
        ld hl,(fp_acc)
        ld de,0
_integer:
        ld (fp_pn),hl
        ld (fp_pn+2),de
        ld hl,fp_one
        ld de,fp_py
        ld bc,5
        ldir
_bit:
        ld hl,fp_pn+3
        srl (hl)
        dec hl
        rr (hl)
        dec hl
        rr (hl)
        dec hl
        rr (hl)
        jr nc,_square
        ld hl,fp_py
        call fp_load_acc
        ld hl,fp_pw
        call fp_mul_by
        ld de,fp_py
        call fp_copy_acc
_square:
        ld hl,(fp_pn)
        ld de,(fp_pn+2)
        ld a,h
        or l
        or d
        or e
        jr z,_done
        ld hl,fp_pw
        call fp_load_acc
        call fp_acc_to_arg
        call fp_mul
        ld de,fp_pw
        call fp_copy_acc
        jr _bit
_done:
        ld hl,fp_py
        call fp_load_acc
        ld a,(fp_flags)
        or a
        ret z
        ld hl,fp_one            ; a negative power: 1 / x^n
        call fp_load_arg
        jp fp_div
_real:
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
        push ix
        ld ix,fp_seed
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
        pop ix
        xor a
        ld (fp_sign),a
        call fp_pack_long
        ld a,(fp_acc+4)         ; over 2^32
        sub 32
        ld (fp_acc+4),a
        ret
_mix:
        ; The state ^= DE:HL, and DE:HL := the new state.
        ld a,(ix+0)
        xor l
        ld (ix+0),a
        ld l,a
        ld a,(ix+1)
        xor h
        ld (ix+1),a
        ld h,a
        ld a,(ix+2)
        xor e
        ld (ix+2),a
        ld e,a
        ld a,(ix+3)
        xor d
        ld (ix+3),a
        ld d,a
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
fp_pi2:
        DEFB 0A2h,0DAh,00Fh,049h,081h   ; pi/2
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
fp_sin_poly:                            ; P(z), near (sin r / r - 1) / z, for z to (pi/4)^2
        DEFB 3
        DEFB 01Ch,004h,0DFh,036h,06Eh
        DEFB 0CAh,0D3h,009h,0D0h,074h
        DEFB 0F8h,086h,088h,008h,07Ah
        DEFB 0AAh,0AAh,0AAh,0AAh,07Eh
fp_cos_poly:                            ; R(z), near (cos r - 1) / z
        DEFB 4
        DEFB 0D5h,070h,03Ah,092h,06Bh
        DEFB 06Ch,04Ch,009h,050h,071h
        DEFB 073h,05Dh,00Bh,0B6h,077h
        DEFB 0A9h,0AAh,0AAh,02Ah,07Ch
        DEFB 000h,000h,000h,080h,080h
fp_atn_poly:                            ; P(z), near (atn t / t - 1) / z, for z to tan(pi/12)^2
        DEFB 4
        DEFB 025h,0BAh,089h,0A0h,07Dh
        DEFB 0AAh,0C6h,0FEh,061h,07Dh
        DEFB 038h,018h,044h,092h,07Eh
        DEFB 047h,0C1h,0CCh,04Ch,07Eh
        DEFB 0A9h,0AAh,0AAh,0AAh,07Fh
fp_exp_poly:                            ; near e^r, for r to (ln 2) / 2 in size
        DEFB 8
        DEFB 0CCh,027h,0ADh,050h,071h
        DEFB 08Ah,03Fh,0D5h,050h,074h
        DEFB 0FAh,026h,00Bh,036h,077h
        DEFB 057h,040h,088h,008h,07Ah
        DEFB 0BAh,0AAh,0AAh,02Ah,07Ch
        DEFB 0D1h,0AAh,0AAh,02Ah,07Eh
        DEFB 000h,000h,000h,000h,080h
        DEFB 000h,000h,000h,000h,081h
        DEFB 000h,000h,000h,000h,081h
fp_log_poly:                            ; P(z), near (atanh s / s - 1) / z, for z to 0.0295
        DEFB 3
        DEFB 084h,06Bh,0E7h,06Eh,07Dh
        DEFB 0C2h,021h,02Eh,012h,07Eh
        DEFB 0AFh,0F5h,0CCh,04Ch,07Eh
        DEFB 0A6h,0AAh,0AAh,02Ah,07Fh
