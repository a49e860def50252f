; The test ROM of the host tests. Display lines 8r to 8r + 7 show the port
; read with keyboard row r selected as eight blocks of 32 pixels, bit 7 (the
; tape input) leftmost, black for a 1, so a key that is down shows white.
; Lines 64-95 show the same way the count of 16-frame periods since reset,
; which a reset (it clears RAM) starts again at 0; the rest is black. The
; first 40 frames beep, each at a pitch of its own.
beeps   equ 0C000h          ; frames that beeped, in RAM
ticks   equ 0C001h          ; frames
periods equ 0C002h          ; counted when the low 4 bits of ticks come to 0

        org 0
        di
        ld sp, beeps
        ld hl, 0EC00h       ; lines 96-255 black
        ld de, 0EC01h
        ld bc, 1400h - 1
        ld (hl), 0FFh
        ldir
        im 1
        ei
scan:   ld hl, 0E000h
        ld a, 0FEh          ; row select: the 0 bit picks the row
_row:   push af
        in a, (80h)
        ld bc, 7 * 32
        call show
        pop af
        rlca
        jr c, _row          ; eight rows, until the 0 bit leaves bit 7
        ld a, (periods)
        ld bc, 31 * 32
        call show
        jr scan

        ds 38h - $, 0
        push af
        push bc
        push de
        push hl
        ld hl, beeps
        ld a, (hl)
        cp 40
        jr nc, _count
        inc (hl)
        and 7
        add a, 2
        ld d, a             ; half-period: 2 to 9 delay steps
        ld b, 100
        ld a, 80h
_half:  out (80h), a
        xor 80h
        ld e, d
_wait:  dec e
        jr nz, _wait
        djnz _half
_count: inc hl              ; ticks
        inc (hl)
        ld a, (hl)
        and 0Fh
        jr nz, _done
        inc hl              ; periods
        inc (hl)
_done:  pop hl
        pop de
        pop bc
        pop af
        ei
        reti

; Draws A on the display line at HL as eight blocks of 4 bytes, bit 7
; first, 0FFh for a 1, and copies that line over the next BC bytes; HL ends
; past them.
show:   push hl
        push bc
        ld b, 8
_bit:   rlca
        ld c, a
        sbc a, a
        ld (hl), a
        inc hl
        ld (hl), a
        inc hl
        ld (hl), a
        inc hl
        ld (hl), a
        inc hl
        ld a, c
        djnz _bit
        pop bc
        ld d, h
        ld e, l
        pop hl
        ldir
        ex de, hl
        ret
