; The test ROM of the host tests. Display lines 8r to 8r + 7 repeat the port
; read with keyboard row r selected, black for a 1: bit 7, the tape input,
; leftmost, then bits 6 and 5 (always 0), then the row's columns 4 to 0 (0
; while the key is down). Lines 64-71 repeat the same way the count of
; 16-frame periods since reset, which a reset (it clears RAM) starts again at
; 0; the rest is black. The first 40 frames sound, each at a pitch of its own.
beeps   equ 0C000h          ; frames that sounded, in RAM
ticks   equ 0C001h          ; frames
periods equ 0C002h          ; counted when the low 4 bits of ticks come to 0

        org 0
        di
        ld sp, beeps
        ld hl, 0E900h       ; lines 72-255 black
        ld de, 0E901h
        ld bc, 1700h - 1
        ld (hl), 0FFh
        ldir
        im 1
        ei
scan:   ld hl, 0E000h
        ld a, 0FEh          ; row select: the 0 bit picks the row
_row:   push af
        in a, (80h)
        call band
        pop af
        rlca
        jr c, _row          ; eight rows, until the 0 bit leaves bit 7
        ld a, (periods)
        call band
        jr scan

; Fills the 8 display lines from HL on with A; HL ends past them.
band:   ld (hl), a
        ld d, h
        ld e, l
        inc de
        ld bc, 255
        ldir
        inc hl
        ret

        ds 38h - $, 0
        push af
        push bc
        push hl
        ld hl, beeps
        ld a, (hl)
        cp 40
        jr nc, _count
        inc (hl)
        ld c, a             ; 256 writes of bit 7 of a sum that grows by C
        ld b, 0
_tone:  out (80h), a
        add a, c
        djnz _tone
_count: inc hl              ; ticks
        inc (hl)
        ld a, (hl)
        and 0Fh
        jr nz, _done
        inc hl              ; periods
        inc (hl)
_done:  pop hl
        pop bc
        pop af
        ei
        reti
