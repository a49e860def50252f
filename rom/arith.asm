; 16- and 32-bit arithmetic for the beep's pitch and length.

; DE:HL := HL * DE. Uses A, BC.
multiply16:
        ld b,h
        ld c,l
        ld hl,0
        ld a,16
_bit:
        add hl,hl               ; shift DE:HL left; DE's top bit is the next
        rl e                    ; multiplier bit, and the product grows into
        rl d                    ; the bits that DE shifts out
        jr nc,_next
        add hl,bc
        jr nc,_next
        inc de
_next:
        dec a
        jr nz,_bit
        ret

; DE:HL := DE:HL / BC (BC not 0), remainder in BC. Uses A and the other
; register set.
divide32:
        push bc
        exx
        pop bc                  ; divisor in BC'
        ld hl,0                 ; remainder in HL'
        exx
        ld a,32
_bit:
        add hl,hl               ; shift the dividend left; its top bit goes
        rl e                    ; into the remainder
        rl d
        exx
        adc hl,hl
        jr c,_subtract          ; 17 bits: certainly not below the divisor
        or a
        sbc hl,bc
        jr nc,_one
        add hl,bc
        exx
        jr _next
_subtract:
        or a
        sbc hl,bc
_one:
        exx
        inc l                   ; the quotient bit enters where the dividend left
_next:
        dec a
        jr nz,_bit
        exx
        push hl
        exx
        pop bc
        ret
