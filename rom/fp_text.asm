; BASIC's numbers as text: reading them (fp_parse) and printing them
; (fp_format), both through powers of ten (fp_scale10).

; fp_arg := the five bytes at HL. Uses BC, DE.
fp_load_arg:
        ld de,fp_arg
        jr fp_copy5

; fp_acc := the five bytes at HL. Uses BC, DE.
fp_load_acc:
        ld de,fp_acc
        ; fall through

; The five bytes at HL -> DE.
fp_copy5:
        ld bc,5
        ldir
        ret

; fp_arg := fp_acc.
fp_acc_to_arg:
        ld hl,fp_acc
        jr fp_load_arg

; fp_acc := fp_acc * 10^A, A signed. 10^n is built from the table below by
; the bits of n: exact up to 10^13, whose odd part still fits 32 bits, so up
; to there the result is rounded once.
fp_scale10:
        ld (fp_ten_pow),a
_reduce:
        ld a,(fp_ten_pow)
        or a
        jp m,_negative
        cp 33
        jr c,_power
        sub 32
        ld (fp_ten_pow),a
        ld hl,fp_ten32
        call fp_load_arg
        call fp_mul
        jr _reduce
_negative:
        cp -32
        jr nc,_power
        add a,32
        ld (fp_ten_pow),a
        call fp_acc_to_arg
        ld hl,fp_ten32
        call fp_load_acc
        call fp_div
        jr _reduce
_power:
        ld de,fp_s
        call fp_copy_acc
        ld hl,1
        call fp_from_signed
        ld a,(fp_ten_pow)
        or a
        jp p,_bits
        neg
_bits:
        ld c,a
        ld hl,fp_tens
_bit:
        srl c
        jr nc,_next
        push hl
        push bc
        call fp_load_arg
        call fp_mul
        pop bc
        pop hl
_next:
        ld de,5
        add hl,de
        inc c
        dec c
        jr nz,_bit
        ld hl,fp_s
        call fp_load_arg
        ld a,(fp_ten_pow)
        or a
        jp p,fp_mul
        jp fp_div

fp_tens:
        DEFB 000h,000h,000h,020h,084h   ; 10
        DEFB 000h,000h,000h,048h,087h   ; 100
        DEFB 000h,000h,040h,01Ch,08Eh   ; 10^4
fp_ten8:
        DEFB 000h,020h,0BCh,03Eh,09Bh   ; 10^8
        DEFB 0BFh,0C9h,01Bh,00Eh,0B6h   ; 10^16
fp_ten32:
        DEFB 0A8h,0ADh,0C5h,01Dh,0EBh   ; 10^32
fp_ten9:
        DEFB 000h,028h,06Bh,06Eh,09Eh   ; 10^9
fp_half:
        DEFB 000h,000h,000h,000h,080h   ; 0.5

; Reads a number at HL: an optional sign, digits with an optional point, and
; an optional exponent (E or e, an optional sign, digits). Carry clear, HL
; past it and the number in fp_acc (a small integer when it is one in
; range); carry set and HL unchanged when no number starts there. Eleven
; digits or more are kept in a 40-bit integer N, the first one dropped
; rounds it, and N rounded to a float is then scaled by the power of ten.
fp_parse:
        push hl
        ld b,h
        ld c,l
        xor a
        ld (fp_minus),a
        ld (fp_drop),a
        ld h,a
        ld l,a
        ld (fp_acc),hl          ; N, 40 bits
        ld (fp_acc+2),hl
        ld (fp_acc+4),a
        ld (fp_out),hl          ; the power of ten, 16 bits
        ld a,(bc)
        cp '-'
        jr nz,_plus
        ld (fp_minus),a
        jr _signed
_plus:
        cp '+'
        jr nz,_mantissa
_signed:
        inc bc
_mantissa:
        ld de,0                 ; D: digits seen, E: past the point
_digit:
        ld a,(bc)
        cp '.'
        jr z,_point
        sub '0'
        cp 10
        jr nc,_end
        call fp_add_digit
        inc bc
        ld d,1
        jr _digit
_point:
        inc e
        dec e
        jr nz,_end
        inc e
        inc bc
        jr _digit
_end:
        inc d
        dec d
        jr nz,_exponent
        pop hl                  ; no digits: no number
        scf
        ret
_exponent:
        ld a,(bc)
        or 20h
        cp 'e'
        jr nz,_value
        push bc
        inc bc
        ld a,(bc)
        ld d,a                  ; '-' or not
        cp '-'
        jr z,_exponent_sign
        cp '+'
        jr nz,_exponent_digits
_exponent_sign:
        inc bc
_exponent_digits:
        ld hl,0
        ld e,0                  ; digits seen
_exponent_digit:
        ld a,(bc)
        sub '0'
        cp 10
        jr nc,_exponent_end
        inc bc
        inc e
        push de
        ld d,h                  ; HL := HL * 10 + A, held below 1000
        ld e,l
        add hl,hl
        add hl,hl
        add hl,de
        add hl,hl
        ld e,a
        ld d,0
        add hl,de
        pop de
        ld a,h
        cp 4
        jr c,_exponent_digit
        ld hl,1000
        jr _exponent_digit
_exponent_end:
        inc e
        dec e
        jr nz,_exponent_read
        pop bc                  ; an E with no digits is not part of the number
        jr _value
_exponent_read:
        ex (sp),hl              ; drop the E's place
        pop hl
        ld a,d
        cp '-'
        jr nz,_exponent_add
        call fp_negate_hl
_exponent_add:
        ld de,(fp_out)
        add hl,de
        ld (fp_out),hl
_value:
        pop hl
        push bc                 ; the end
        ld a,(fp_drop)
        cp 85h                  ; the first digit dropped was 5 or more: up
        jr c,_rounded
        ld hl,fp_acc
        ld b,5
_carry:
        inc (hl)
        jr nz,_rounded
        inc hl
        djnz _carry
_rounded:
        xor a                   ; N, rounded to a float
        ld (fp_sign),a
        ld a,(fp_acc)
        ld hl,(fp_acc+1)
        ld de,(fp_acc+3)
        ld bc,168
        call fp_normalize
        ld a,(fp_acc+4)
        or a
        jr z,_signed_value      ; zero stays zero, however scaled
        ld hl,(fp_out)
        ld de,128
        add hl,de               ; the power, clamped to -128..127
        ld a,h
        or a
        ld a,l
        jr z,_scale
        ld a,0
        jp m,_scale
        ld a,0FFh
_scale:
        sub 128
        call fp_scale10
_signed_value:
        ld a,(fp_minus)
        or a
        call nz,fp_neg
        call fp_small
        pop hl
        or a
        ret

; N (at fp_acc, 40 bits) := N * 10 + A; once N is too large to take another
; digit the digit is dropped, and a dropped digit before the point (E = 0)
; raises the power of ten. Keeps BC, DE.
fp_add_digit:
        push bc
        push de
        push af
        ld a,(fp_acc+4)         ; below 19h in the top byte there is room
        cp 19h
        jr nc,_full
        ld a,(fp_acc)
        ld hl,(fp_acc+1)
        ld de,(fp_acc+3)
        add a,a                 ; 2N, kept
        adc hl,hl
        rl e
        rl d
        ld (fp_acc),a
        ld (fp_acc+1),hl
        ld (fp_acc+3),de
        add a,a                 ; 8N
        adc hl,hl
        rl e
        rl d
        add a,a
        adc hl,hl
        rl e
        rl d
        ld b,a                  ; 8N + 2N
        ld a,(fp_acc)
        add a,b
        ld bc,(fp_acc+1)
        adc hl,bc
        ld bc,(fp_acc+3)
        ex de,hl
        adc hl,bc
        ex de,hl
        ld b,a                  ; and the digit
        pop af
        add a,b
        jr nc,_stored
        inc hl
        ld b,a
        ld a,h
        or l
        ld a,b
        jr nz,_stored
        inc de
_stored:
        ld (fp_acc),a
        ld (fp_acc+1),hl
        ld (fp_acc+3),de
        pop de
        ld a,e
        or a
        jr z,_done
        ld hl,(fp_out)          ; a digit after the point
        dec hl
        ld (fp_out),hl
        jr _done
_full:
        pop af
        ld hl,fp_drop
        bit 7,(hl)
        jr nz,_dropped
        or 80h
        ld (hl),a
_dropped:
        pop de
        ld a,e
        or a
        jr nz,_done
        ld hl,(fp_out)          ; a digit before the point
        inc hl
        ld (fp_out),hl
_done:
        pop bc
        ret

; A float in fp_acc that is an integer in -32768..32767 becomes a small
; integer.
fp_small:
        ld a,(fp_acc+4)
        or a
        ret z
        call fp_acc_to_arg
        call fp_int
        ld a,(fp_acc+4)
        or a
        jr nz,_not
        call fp_compare
        ret z
_not:
        ld hl,fp_arg
        jp fp_load_acc

; Writes A at fp_out and moves it on. Keeps HL.
fp_put:
        push hl
        ld hl,(fp_out)
        ld (hl),a
        inc hl
        ld (fp_out),hl
        pop hl
        ret

; Writes DE:HL in decimal at fp_out, two digits for each division.
fp_put_long:
        ld bc,0FF00h            ; a mark below the digits on the stack
        push bc
_divide:
        ld b,32                 ; DE:HL := DE:HL / 100, A := the remainder
_skip:
        ld a,d
        or a
        jr nz,_long
        ld d,e                  ; a zero byte at the top: eight places at once
        ld e,h
        ld h,l
        ld l,a
        ld a,b
        sub 8
        ld b,a
        jr nz,_skip
        jr _digits              ; 0: A = 0
_long:
        xor a
_bit:
        add hl,hl
        rl e
        rl d
        rla
        cp 100
        jr c,_next
        sub 100
        inc l
_next:
        djnz _bit
_digits:
        ld c,-1                 ; C := the tens, A := the ones
_tens:
        inc c
        sub 10
        jr nc,_tens
        add a,10
        push af                 ; a digit in the high byte
        ld a,d
        or e
        or h
        or l
        jr z,_last
        ld a,c
        push af
        jr _divide
_last:
        or c                    ; the tens, unless a leading zero
        jr z,_write
        push af
_write:
        pop bc
        inc b
        ret z
        ld a,b
        add a,'0'-1
        call fp_put
        jr _write

; Writes fp_acc at DE as PRINT shows it, ending with a zero byte: a space or
; '-', then an integer below 2^32 in full, else up to nine significant
; digits, rounded, in E notation below 0.01 and from 10^9 up.
fp_format:
        ld (fp_out),de
        call fp_abs
        ld a,' '
        jr nc,_positive
        ld a,'-'
_positive:
        call fp_put
        ld a,(fp_acc+4)
        or a
        jr z,_integer
        cp 161
        jr nc,_scaled
        call fp_floor_long      ; C = 0: no fraction was dropped
        inc c
        dec c
        jr nz,_scaled
        jr _long
_integer:
        ld hl,(fp_acc)
        ld de,0
_long:
        call fp_put_long
        jp _finish
_scaled:
        ; The decimal exponent d of the first digit, from the binary one:
        ; (e - 128) * 77 / 256, where 77 / 256 is near log10(2), is d or a
        ; little off; the scaled value puts it right.
        ld de,fp_x
        call fp_copy_acc
        ld a,(fp_acc+4)
        ld l,a
        ld h,0
        ld de,-128
        add hl,de
        ld de,77
        call multiply16
        ld a,h
        ld (fp_dec),a
_down:
        call _try               ; y := |x| * 10^(8 - d)
        ld hl,fp_ten8
        call fp_load_arg
        call fp_compare
        dec a
        jr nz,_up
        ld hl,fp_dec            ; y < 10^8: d was too high
        dec (hl)
        jr _down
_up:
        ld hl,fp_ten9
        call fp_load_arg
        call fp_compare
        dec a
        jr z,_round
        ld hl,fp_dec            ; y >= 10^9: d was too low
        inc (hl)
        call _try
        jr _up
_round:
        ld hl,fp_half
        call fp_load_arg
        call fp_add
        call fp_floor_long      ; N, the nine digits
        ld a,d
        cp 3Bh
        jr nz,_digits
        ld a,e                  ; 10^9 = 3B9ACA00h: rounded up to a tenth digit
        cp 9Ah
        jr nz,_digits
        ld a,h
        cp 0CAh
        jr nz,_digits
        ld de,05F5h
        ld hl,0E100h
        ld a,(fp_dec)
        inc a
        ld (fp_dec),a
_digits:
        ld bc,(fp_out)
        push bc
        ld bc,fp_digits
        ld (fp_out),bc
        call fp_put_long
        ld hl,(fp_out)
_strip:
        dec hl                  ; trailing zeros go
        ld a,(hl)
        cp '0'
        jr z,_strip
        inc hl
        ld (hl),0
        pop bc
        ld (fp_out),bc
        ld hl,fp_digits
        ld a,(fp_dec)
        add a,2
        cp 11
        jr nc,_e_form
        sub 2
        jp m,_fraction
        inc a
        ld b,a                  ; the digits before the point
_whole:
        ld a,(hl)
        or a
        jr z,_pad
        inc hl
        jr _put_whole
_pad:
        ld a,'0'
_put_whole:
        call fp_put
        djnz _whole
        ld a,(hl)
        or a
        call nz,_point
        jr _finish
_fraction:
        neg
        dec a
        ld b,a                  ; zeros after the point
        ld a,'.'
        call fp_put
        inc b
        dec b
        jr z,_no_zeros
_zero:
        ld a,'0'
        call fp_put
        djnz _zero
_no_zeros:
        call _rest
        jr _finish
_e_form:
        ld a,(hl)
        inc hl
        call fp_put
        ld a,(hl)
        or a
        call nz,_point
        ld a,'E'
        call fp_put
        ld a,(fp_dec)
        ld c,'+'
        or a
        jp p,_exponent
        neg
        ld c,'-'
_exponent:
        ld b,'0'-1
_tens:
        inc b
        sub 10
        jr nc,_tens
        add a,10+'0'
        push af
        ld a,c
        call fp_put
        ld a,b
        call fp_put
        pop af
        call fp_put
_finish:
        xor a
        ld hl,(fp_out)
        ld (hl),a
        ret
_point:
        ld a,'.'                ; the point and the digits from HL
        call fp_put
_rest:
        ld a,(hl)
        or a
        ret z
        inc hl
        call fp_put
        jr _rest
_try:
        ld hl,fp_x
        call fp_load_acc
        ld a,(fp_dec)
        neg
        add a,8
        jp fp_scale10
