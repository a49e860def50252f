; BASIC's numbers to and from the processor's integers, and INT.

; fp_acc := HL, 0 to 65535.
fp_from_unsigned:
        bit 7,h
        jp z,fp_from_signed
        ld de,0
        ; fall through

; fp_acc := DE:HL, 0 to 2^32 - 1, exactly: a small integer when it fits.
fp_from_long:
        xor a
        ld (fp_sign),a
        ; fall through

; fp_acc := the integer of magnitude DE:HL with the sign fp_sign, a small
; integer when it fits.
fp_make_int:
        ld a,d
        or e
        jp nz,fp_pack_long
        ld a,(fp_sign)
        or a
        jr nz,_negative
        bit 7,h
        jp nz,fp_pack_long
        jp fp_from_signed
_negative:
        ld a,h                  ; up to 8000h fits
        cp 80h
        jr c,_fits
        jp nz,fp_pack_long
        ld a,l
        or a
        jp nz,fp_pack_long
_fits:
        call fp_negate_hl
        jp fp_from_signed

; HL := -HL; P/V set when it overflows (HL was -32768). Uses A; keeps DE, BC.
fp_negate_hl:
        xor a
        sub l
        ld l,a
        sbc a,a
        sub h
        ld h,a
        ret

; DE:HL := the magnitude of INT(fp_acc), the floor, and fp_sign its sign.
; Carry set, and nothing else done, when |fp_acc| >= 2^32: every such float
; is an integer already.
fp_floor_long:
        ld a,(fp_acc+4)
        or a
        jr nz,_float
        ld hl,(fp_acc)
        ld de,0
        ld a,h
        and 80h
        ld (fp_sign),a
        ret z
        call fp_negate_hl
        or a
        ret
_float:
        cp 161
        ccf
        ret c
        ld b,a
        ld hl,(fp_acc)
        ld de,(fp_acc+2)
        ld a,d
        and 80h
        ld (fp_sign),a
        set 7,d
        ld c,0                  ; nonzero once a fraction bit is dropped
        ld a,160
        sub b                   ; bits to drop
        cp 32
        jr c,_bytes
        ld hl,0                 ; below 1
        ld d,h
        ld e,l
        inc c
        jr _rounded
_bytes:
        cp 8
        jr c,_bits
        sub 8
        ld b,a
        ld a,l
        or c
        ld c,a
        ld l,h
        ld h,e
        ld e,d
        ld d,0
        ld a,b
        jr _bytes
_bits:
        or a
        jr z,_rounded
        ld b,a
_bit:
        srl d
        rr e
        rr h
        rr l
        jr nc,_kept
        ld c,1
_kept:
        djnz _bit
_rounded:
        ld a,(fp_sign)          ; a negative number with a fraction goes down
        or a
        ret z
        ld a,c
        or a
        ret z
        ld bc,1
        add hl,bc
        ret nc
        inc de
        or a
        ret

; fp_acc := INT(fp_acc), the largest integer not above it: a small integer
; when it fits.
fp_int:
        ld a,(fp_acc+4)
        or a
        ret z
        call fp_floor_long
        ret c
        jp fp_make_int

; HL := INT(fp_acc), which must lie in -32768..32767, else Overflow.
fp_to_signed:
        call fp_floor_long
        jr c,fp_word_overflow
        ld a,d
        or e
        jr nz,fp_word_overflow
        ld a,(fp_sign)
        or a
        jr nz,fp_word_negative
        bit 7,h
        ret z
fp_word_overflow:
        jp fp_overflow

; HL := INT(fp_acc) for -32768..65535, in 16 bits, else Overflow.
fp_to_word:
        call fp_floor_long
        jr c,fp_word_overflow
        ld a,d
        or e
        jr nz,fp_word_overflow
        ld a,(fp_sign)
        or a
        ret z
        ; fall through

; HL := -HL for a magnitude HL up to 8000h, else Overflow.
fp_word_negative:
        ld a,h
        cp 80h
        jp c,fp_negate_hl
        jr nz,fp_word_overflow
        ld a,l
        or a
        jr nz,fp_word_overflow
        jp fp_negate_hl
