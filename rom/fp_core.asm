; BASIC's numbers: the five-byte form, building a result, sign and order.
;
; A number is five bytes b0..b4. With b4 = 0 it is a small integer: b0 b1
; hold a 16-bit two's complement value and b2 b3 are 0; zero is always five
; zero bytes. With b4 = 1..255 it is a float: b0..b3 are a 32-bit mantissa,
; low byte first, whose top bit is always 1 and so is not stored: that bit of
; b3 holds the sign instead (set = negative). The value is 0.1mmm... (binary)
; times 2^(b4 - 128).
;
; Inside a routine a result is built as a 40-bit mantissa DE:HL.A, D the
; highest byte, A eight bits below the last kept one. Bits lost further down
; are OR-ed into bit 0 of A, which is all rounding needs to know of them.
; BC holds the exponent, wide enough to see overflow and underflow, and
; fp_sign the sign.

; The number at HL as a float, in place: a small integer becomes the float of
; the same value; zero stays five zero bytes. Keeps HL; uses AF, BC, DE.
fp_float:
        push hl
        inc hl
        inc hl
        inc hl
        inc hl
        ld a,(hl)
        or a
        jr nz,_done             ; a float already
        pop hl
        push hl
        ld e,(hl)
        inc hl
        ld d,(hl)
        ex de,hl                ; HL: the value, DE: where b1 is
        ld a,h
        or l
        jr z,_done              ; zero
        call fp_mag16
        ex de,hl
        ld (hl),0               ; b1, then b0
        dec hl
        ld (hl),0
        inc hl
        inc hl
        ld (hl),e
        inc hl
        ld a,d
        and 7Fh
        or b
        ld (hl),a
        inc hl
        ld (hl),c
_done:
        pop hl
        ret

; HL (a small integer, not 0) := its magnitude, shifted as below; B := its
; sign (00h or 80h).
fp_mag16:
        ld a,h
        and 80h
        ld b,a
        call nz,fp_negate_hl
        ; fall through

; HL (not 0) shifted left until bit 15 is set, and C := 144 less the places
; it moved: the exponent of 0.1xxx when bit 15 held the top bit. Uses A.
fp_norm16:
        ld c,144
        ld a,h
        or a
        jr nz,_bits
        ld h,l
        ld l,a
        ld c,136
_bits:
        bit 7,h
        ret nz
_shift:
        dec c
        adc hl,hl               ; carry in is clear: the bit out was 0
        jp p,_shift
        ret

; fp_arg or fp_acc unpacked: the mantissa of its magnitude in DE:HL, D's top
; bit set, its exponent in C and its sign in B (00h or 80h), so that it is
; DE:HL * 2^(C - 160); NZ. Zero gives Z with DE = HL = 0 and B = C = 0.
; A small integer comes out as the float of the same value. Uses A.
fp_unpack_arg:
        ld hl,(fp_arg)
        ld de,(fp_arg+2)
        ld a,(fp_arg+4)
        jr fp_unpack
fp_unpack_acc:
        ld hl,(fp_acc)
        ld de,(fp_acc+2)
        ld a,(fp_acc+4)
fp_unpack:
        ld c,a
        or a
        jr z,_integer
        ld a,d
        and 80h
        ld b,a
        set 7,d
        or d                    ; NZ
        ret
_integer:
        ld b,a                  ; DE = 0 with B and C
        ld a,h
        or l
        ret z
        call fp_mag16          ; NZ
        ex de,hl
        ld hl,0
        ret

; fp_acc := the float of the signed HL, exactly.
fp_float_hl:
        ld a,h
        or l
        jp z,fp_zero
        call fp_mag16
        ; fall through

; fp_acc := the float with mantissa HL (bit 15 set) and then zeros,
; exponent C and sign B.
fp_store16:
        ld a,h
        and 7Fh
        or b
        ld h,a
        ld (fp_acc+2),hl
        ld l,0
        ld h,l
        ld (fp_acc),hl
        ld a,c
        ld (fp_acc+4),a
        ret

; fp_acc := fp_arg.
fp_arg_to_acc:
        ld hl,(fp_arg)
        ld (fp_acc),hl
        ld hl,(fp_arg+2)
        ld (fp_acc+2),hl
        ld a,(fp_arg+4)
        ld (fp_acc+4),a
        ret

; fp_acc := the float of the 32-bit magnitude DE:HL with the sign fp_sign,
; exactly (zero for zero).
fp_pack_long:
        ld bc,160               ; the exponent when bit 31 is the top one
        xor a
        ; fall through

; Shifts DE:HL.A left until bit 7 of D is set, lowering the exponent BC to
; match, then rounds and stores it (below); all zero gives zero.
fp_normalize:
        inc d
        dec d
        jr nz,_bits
        ld d,a                  ; a whole byte to go: is anything left at all?
        or e
        or h
        or l
        jr z,fp_zero
        ld a,d
        ld d,e
        ld e,h
        ld h,l
        ld l,a
        ld a,c                  ; BC := BC - 8
        sub 8
        ld c,a
        jr nc,_bytes
        dec b
_bytes:
        xor a
        jr fp_normalize
_bits:
        bit 7,d
        jr nz,fp_round
_shift:
        dec bc
        add a,a
        adc hl,hl
        rl e
        rl d
        jp p,_shift
        ; fall through

; Rounds DE:HL.A (bit 7 of D set) to 32 bits, to nearest with ties to even,
; and stores it in fp_acc with exponent BC and sign fp_sign. An exponent
; below 1 gives zero (too small to hold), above 255 Overflow.
fp_round:
        cp 80h
        jr c,fp_store           ; less than half: down
        jr nz,_up
        bit 0,l                 ; exactly half: to the even neighbour
        jr z,fp_store
_up:
        inc l
        jr nz,fp_store
        inc h
        jr nz,fp_store
        inc e
        jr nz,fp_store
        inc d
        jr nz,fp_store
        ld d,80h                ; rounded up to the next power of two
        inc bc
fp_store:
        ld a,b
        or a
        jr nz,_range
        or c
        jr z,fp_zero
        ld (fp_acc+4),a
        ld a,(fp_sign)          ; the sign replaces the top bit
        xor d
        xor 80h
        ld d,a
        ld (fp_acc),hl
        ld (fp_acc+2),de
        ret
_range:
        jp p,fp_overflow
        ; fall through

; fp_acc := 0.
fp_zero:
        xor a
        ld h,a
        ld l,a
        ld (fp_acc),hl
        ld (fp_acc+2),hl
        ld (fp_acc+4),a
        ret

fp_overflow:
        ld a,ERR_OVERFLOW
        jp basic_error

fp_bad_argument:
        ld a,ERR_ARGUMENT
        jp basic_error

; fp_acc := -fp_acc. A small integer stays one, but for -(-32768).
fp_neg:
        ld a,(fp_acc+4)
        or a
        jr z,_integer
        ld a,(fp_acc+3)
        xor 80h
        ld (fp_acc+3),a
        ret
_integer:
        ld hl,(fp_acc)
        xor a
        sub l
        ld l,a
        sbc a,a
        sub h
        ld h,a
        ld (fp_acc),hl
        cp 80h                  ; -32768 again: only a float holds 32768
        ret nz
        ld a,l
        or a
        ret nz
        ld (fp_acc+1),a
        ld a,144
        ld (fp_acc+4),a
        ret

; fp_acc := |fp_acc|; carry: it was negative.
fp_abs:
        ld a,(fp_acc+4)
        or a
        jr z,_integer
        ld hl,fp_acc+3
        ld a,(hl)
        res 7,(hl)
        rla
        ret
_integer:
        ld a,(fp_acc+1)
        rla
        ret nc
        call fp_neg
        scf
        ret

; fp_acc := -1, 0 or 1 as fp_acc is negative, zero or positive.
fp_sgn:
        ld hl,(fp_acc)
        ld a,(fp_acc+4)
        or a
        jr z,_integer
        ld a,(fp_acc+3)
        ld h,a                  ; bit 7 the sign
        ld l,1                  ; and never zero
_integer:
        ld a,h
        or l
        jr z,fp_from_signed
        ld a,h
        rla
        sbc a,a
        ld h,a
        or 1
        ld l,a                  ; -1 or 1
        ; fall through

; fp_acc := HL, a signed small integer.
fp_from_signed:
        ld (fp_acc),hl
        ld hl,0
        ld (fp_acc+2),hl
        xor a
        ld (fp_acc+4),a
        ret

; Compares fp_arg with fp_acc: A = 0 and Z when equal, 1 when fp_arg is
; greater, 0FFh when it is less (NZ both). Both keep their form.
fp_compare:
        ld a,(fp_arg+4)
        ld hl,fp_acc+4
        or (hl)
        jr nz,_numbers
        ld hl,(fp_arg)          ; two small integers
        ld de,(fp_acc)
        ld a,h
        xor d
        jp m,_integer_sign
        sbc hl,de
        jr z,_equal
        sbc a,a
        or 1
        ret
_integer_sign:
        ld a,h
        jr _sign
_numbers:
        ; Zero unpacks as a positive number with the smallest exponent.
        call fp_unpack_arg
        exx
        call fp_unpack_acc
        ld a,b
        exx                     ; fp_arg's set
        xor b
        ld a,b
        jp m,_sign              ; the signs differ: fp_arg's decides
        ex af,af'               ; A': the sign of both
        ld a,c                  ; exponents, then mantissas
        exx
        cp c
        jr nz,_differ
        push hl
        push de
        exx
        pop bc                  ; fp_acc's DE against fp_arg's
        ld a,d
        cp b
        jr nz,_differ_high
        ld a,e
        cp c
        jr nz,_differ_high
        pop bc
        ld a,h
        cp b
        jr nz,_differ
        ld a,l
        cp c
        jr nz,_differ
_equal:
        xor a
        ret
_differ_high:
        pop bc
_differ:
        sbc a,a                 ; 0FFh when fp_arg's magnitude is the smaller
        ld b,a
        ex af,af'
        rla
        sbc a,a                 ; 0FFh when both are negative
        xor b
        or 1
        ret
_sign:
        rla
        sbc a,a
        or 1
        ret
