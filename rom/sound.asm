; Sound: a square wave on bit 7 of port 80h, timed by counted T-states.
;
; One half period of the wave costs BEEP_FIXED T-states plus BEEP_LOOP for
; each turn of its delay loop. The turns per half period are kept as a
; number with a 1/256 part: each half period takes the whole part, plus one
; turn whenever the fraction overflows, so that the average period is exact
; to a 256th of a turn.

BEEP_FIXED      EQU 110
BEEP_LOOP       EQU 24
BEEP_MIN_HZ     EQU 20
BEEP_MAX_HZ     EQU 9000        ; the shortest half period still holds one turn
ERROR_HZ        EQU 880
ERROR_MS        EQU 120

; Plays HL hertz (BEEP_MIN_HZ to BEEP_MAX_HZ) for DE milliseconds; carry set
; and nothing played when the pitch is out of range. Keeps nothing but IX, IY.
beep:
        push de
        ld b,h
        ld c,l
        ld de,-BEEP_MIN_HZ      ; below BEEP_MIN_HZ this wraps round to a large
        add hl,de               ; number, which the next step refuses as well
        ld de,BEEP_MIN_HZ-BEEP_MAX_HZ-1
        add hl,de
        jr c,_refuse
        push bc
        ; Turns per half period, times 256:
        ; (1,250,000 * 256 / hz - BEEP_FIXED * 256) / BEEP_LOOP.
        ld de,1312h             ; 1,250,000 (half the clock rate) * 256
        ld hl,0D000h
        call divide32
        ld bc,-BEEP_FIXED*256
        add hl,bc
        jr c,_no_borrow
        dec de
_no_borrow:
        ld bc,BEEP_LOOP
        call divide32
        ld a,l
        ld (beep_fraction),a
        ld l,h
        ld h,e
        ld (beep_whole),hl
        ; Half periods: hz * ms / 500.
        pop hl
        pop de
        call multiply16
        ld bc,500
        call divide32
        ld a,d
        or e
        jr z,_fits
        ld hl,0FFFFh
_fits:
        ld a,h
        or l
        ret z                   ; too short for one half period
        ex de,hl
        jr beep_wave
_refuse:
        pop de                  ; carry set
        ret

; Plays DE half periods of (beep_whole + beep_fraction / 256) delay turns
; each, with interrupts held off so that nothing stretches the wave; the
; output rests low afterwards. Carry clear.
beep_wave:
        di
        ld c,0                  ; output level
        ld b,0                  ; fraction so far
_half:
        ld a,c                  ;  4
        xor 80h                 ;  7
        ld c,a                  ;  4
        out (PORT),a            ; 11
        ld hl,(beep_whole)      ; 16
        ld a,(beep_fraction)    ; 13
        add a,b                 ;  4
        ld b,a                  ;  4
        jr nc,_no_carry         ; 12 / 7
        inc hl                  ;  6
        jp _wait                ; 10: 23 T-states either way
_no_carry:
        nop                     ;  4
        ld a,0                  ;  7
_wait:
        dec hl                  ;  6
        ld a,h                  ;  4
        or l                    ;  4
        jp nz,_wait             ; 10 = BEEP_LOOP
        dec de                  ;  6
        ld a,d                  ;  4
        or e                    ;  4
        jp nz,_half             ; 10: 110 = BEEP_FIXED in all
        xor a
        out (PORT),a
        ei
        ret

; The error sound.
error_beep:
        ld hl,ERROR_HZ
        ld de,ERROR_MS
        jp beep
