; Beeps for 40 frames and then falls silent. Each frame's interrupt plays
; 100 half-periods of a square wave whose pitch follows the frame number, so
; every frame's samples differ from its neighbours'.
        org 0
        di
        ld sp, 0C000h
        xor a
        ld (frames), a
        im 1
        ei
idle:   halt
        jr idle

        ds 38h - $, 0
        push af
        push bc
        push de
        ld a, (frames)
        cp 40
        jr nc, _quiet
        inc a
        ld (frames), a
        and 7
        add a, 2
        ld d, a                 ; half-period: 2 to 9 delay steps
        ld b, 100
        ld a, 80h
_half:  out (80h), a
        xor 80h
        ld e, d
_wait:  dec e
        jr nz, _wait
        djnz _half
_quiet: pop de
        pop bc
        pop af
        ei
        reti

frames  equ 0C000h
