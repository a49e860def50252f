; The demo for data/dev.bin and the demo tape: a moire star drawn with lines,
; a little tune, then a ball bouncing over the picture with a click at each
; wall, until a key is pressed. Runs at 5000h and returns to the monitor.

        INCLUDE "entries.inc"

DISPLAY         EQU 0E000h
TOP             EQU 16          ; the picture starts below the title
CENTRE_X        EQU 128
CENTRE_Y        EQU 136
STAR_STEP       EQU 4
BALL            EQU 6           ; the ball is BALL x BALL pixels
BALL_MAX_X      EQU 256-BALL
BALL_MAX_Y      EQU 256-BALL

        ORG 5000h
demo:
        call ROM_CLEAR_SCREEN
        ld hl,title
        call ROM_PRINT_STRING
        call star
        ld hl,tune
        call play
        call bounce
        jp ROM_CLEAR_SCREEN

title:  DEFB "VORN DEMO   any key to stop",0

; Lines from the centre to every STAR_STEP-th point of the border, drawn by
; flipping pixels, so that where they crowd they make a moire.
star:
        ld a,0
_top_bottom:
        ld (line_x1),a
        ld b,TOP
        call _spoke
        ld b,255
        call _spoke
        ld a,(line_x1)
        add a,STAR_STEP
        jr nz,_top_bottom
        ld a,TOP
_sides:
        ld (line_y1),a
        ld a,0
        ld (line_x1),a
        call _spoke_y
        ld a,255
        ld (line_x1),a
        call _spoke_y
        ld a,(line_y1)
        add a,STAR_STEP
        jr nc,_sides
        ret
_spoke:
        ld a,b
        ld (line_y1),a
_spoke_y:
        ld a,CENTRE_X
        ld (line_x0),a
        ld a,CENTRE_Y
        ld (line_y0),a
        jp line

; Flips the pixels of the line from (line_x0, line_y0) to (line_x1,
; line_y1), both ends included (Bresenham's method).
line:
        ld a,(line_x1)
        ld hl,line_x0
        sub (hl)
        ld c,1
        jr nc,_dx
        neg
        ld c,-1
_dx:
        ld d,a                  ; D = |dx|, C = x step
        ld a,(line_y1)
        ld hl,line_y0
        sub (hl)
        ld b,1
        jr nc,_dy
        neg
        ld b,-1
_dy:
        ld e,a                  ; E = |dy|, B = y step
        ld a,(line_x0)
        ld l,a
        ld a,(line_y0)
        ld h,a
        ld a,d
        cp e
        jr c,_steep
        ; Mostly across: one pixel per x.
        ld a,d
        ld (line_count),a
        srl a
        ld (line_error),a
_across:
        call plot
        ld a,(line_count)
        or a
        ret z
        dec a
        ld (line_count),a
        ld a,l
        add a,c
        ld l,a
        ld a,(line_error)
        sub e
        jr nc,_across_kept
        add a,d
        ld (line_error),a
        ld a,h
        add a,b
        ld h,a
        jr _across
_across_kept:
        ld (line_error),a
        jr _across
_steep:
        ; Mostly down: one pixel per y.
        ld a,e
        ld (line_count),a
        srl a
        ld (line_error),a
_down:
        call plot
        ld a,(line_count)
        or a
        ret z
        dec a
        ld (line_count),a
        ld a,h
        add a,b
        ld h,a
        ld a,(line_error)
        sub d
        jr nc,_down_kept
        add a,e
        ld (line_error),a
        ld a,l
        add a,c
        ld l,a
        jr _down
_down_kept:
        ld (line_error),a
        jr _down

; Flips the pixel at x = L, y = H. Keeps BC, DE, HL.
plot:
        push bc
        push hl
        ld a,l
        and 7
        ld b,a
        ld a,80h
        jr z,_masked
_shift:
        rrca
        djnz _shift
_masked:
        ld c,a
        ld a,l
        rrca
        rrca
        rrca
        and 1Fh
        ld l,a                  ; byte column
        ld a,h
        and 7
        rrca
        rrca
        rrca                    ; (y mod 8) * 32
        or l
        ld l,a
        ld a,h
        rrca
        rrca
        rrca
        and 1Fh
        add a,HIGH DISPLAY      ; + (y / 8) * 256
        ld h,a
        ld a,(hl)
        xor c
        ld (hl),a
        pop hl
        pop bc
        ret

; Plays the notes at HL: pairs of words, hertz and milliseconds, ending
; with a zero pitch.
play:
        ld e,(hl)
        inc hl
        ld d,(hl)
        inc hl
        ld a,d
        or e
        ret z
        push de
        ld e,(hl)
        inc hl
        ld d,(hl)
        inc hl
        ex (sp),hl              ; HL = hertz, the notes on the stack
        call ROM_BEEP
        pop hl
        jr play

tune:
        DEFW 523,120, 659,120, 784,120, 1047,240, 784,120, 1047,360, 0

; The ball: moves two pixels a frame each way and bounces off the edges.
bounce:
        call ROM_KEY_POLL       ; forget keys pressed while drawing
        jr nz,bounce
        call ball
_frame:
        halt
        call ball               ; away from the old place
        ld hl,ball_x
        ld a,(ball_dx)
        ld c,BALL_MAX_X
        call _move
        ld (ball_dx),a
        ld hl,ball_y
        ld a,(ball_dy)
        ld c,BALL_MAX_Y
        call _move
        ld (ball_dy),a
        call ball
        call ROM_KEY_POLL
        jr z,_frame
        ret
; Adds step A to (HL), turning back at TOP and at C; returns the step.
_move:
        ld b,a
        add a,(hl)
        ld (hl),a
        cp TOP
        jr c,_turn
        cp c
        ld a,b
        ret c
_turn:
        ld a,b
        neg
        ld b,a
        ld a,(hl)
        add a,b
        ld (hl),a
        push bc
        ld hl,2000
        ld de,4
        call ROM_BEEP
        pop bc
        ld a,b
        ret

; Flips the ball's pixels at (ball_x, ball_y).
ball:
        ld a,(ball_y)
        ld h,a
        ld d,BALL
_row:
        ld a,(ball_x)
        ld l,a
        ld e,BALL
_pixel:
        call plot
        inc l
        dec e
        jr nz,_pixel
        inc h
        dec d
        jr nz,_row
        ret

ball_x:     DEFB 40
ball_y:     DEFB 60
ball_dx:    DEFB 2
ball_dy:    DEFB 2
line_x0:    DEFB 0
line_y0:    DEFB 0
line_x1:    DEFB 0
line_y1:    DEFB 0
line_count: DEFB 0
line_error: DEFB 0

        IF $ > 5800h
        .ERROR The demo must fit in the 2 KiB that the demo tape saves
        ENDIF
