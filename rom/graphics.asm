; BASIC's drawing: PSET, POINT, LINE and CIRCLE on the 256 x 256 display.
; Coordinates are 16-bit signed. Whatever falls outside 0..255 is off the
; display and is not drawn, so a shape may hang over any edge or lie far
; beyond it. A colour that is not 0 is ink (a set bit, black), 0 is paper.
; Every routine keeps IX and IY and uses at most 12 bytes of stack.

; The mask of each pixel of a byte, leftmost first. The table starts at a
; multiple of 8, so the entry for x is at LOW pixel_masks OR (x AND 7).
        DEFS (8 - ($ AND 7)) AND 7
pixel_masks:
        DEFB 80h,40h,20h,10h,08h,04h,02h,01h

; Plots pixel (HL, DE) in colour A; nothing when it is off the display.
plot:
        ld c,a
        ld a,h
        or d
        ret nz
        call pixel_address
        inc c
        dec c
        jr z,_paper
        or (hl)
        ld (hl),a
        ret
_paper:
        cpl
        and (hl)
        ld (hl),a
        ret

; A := 1 when pixel (HL, DE) is ink, 0 when it is paper or off the display.
point:
        ld a,h
        or d
        jr nz,_off
        call pixel_address
        and (hl)
        ret z
        ld a,1
        ret
_off:
        xor a
        ret

; HL := the byte of pixel (L, E), both 0..255, and A := its mask. Line y
; starts at SCREEN + 32y: page y / 8, at (y AND 7) * 32 in it. Uses D, E.
pixel_address:
        ld a,e
        rrca
        rrca
        rrca
        ld e,a                  ; bits 7-5 y AND 7, bits 4-0 y / 8
        and 1Fh
        or HIGH SCREEN
        ld h,a
        ld a,l
        ld d,a
        rrca
        rrca
        rrca
        xor e
        and 1Fh
        xor e                   ; y AND 7 above, x / 8 below
        ld l,a
        ld a,d
        and 7
        or LOW pixel_masks
        ld e,a
        ld d,HIGH pixel_masks
        ld a,(de)
        ret

; HL := |DE - HL| for signed HL and DE, with carry set when DE < HL. The
; magnitude is at most 65535, so it always fits. Uses A, DE.
difference:
        ld a,h
        xor 80h                 ; moved up by 8000h, signed order becomes
        ld h,a                  ; unsigned order
        ld a,d
        xor 80h
        ld d,a
        ex de,hl
        or a
        sbc hl,de
        ret nc
        ld a,h                  ; negative: complement and add one, which
        cpl                     ; leaves the carry set
        ld h,a
        ld a,l
        cpl
        ld l,a
        inc hl
        ret

; The offsets o = 0..BC for which c + o (A = 0) or c - o (A not 0) lies on
; the display, for signed c = HL: DE = the first, HL = the last. Carry set
; when there is none. Uses A.
offset_range:
        or a
        jr z,_forwards
        bit 7,h
        jr nz,_none             ; c - o < 0 for every o
        ex de,hl
        ld hl,255               ; c - o in 0..255 just when (255 - c) + o is,
        or a                    ; and 255 - c cannot overflow for c >= 0
        sbc hl,de
_forwards:
        ld de,0
        bit 7,h
        jr z,_inside
        ex de,hl                ; c < 0 comes onto the display at o = -c
        or a
        sbc hl,de
        ex de,hl
        jr _last
_inside:
        ld a,h
        or a
        jr nz,_none             ; c > 255
_last:
        push de
        ex de,hl
        ld hl,255
        or a
        sbc hl,de               ; it leaves after o = 255 - c
        pop de
        ld a,c
        sub e
        ld a,b
        sbc a,d
        jr c,_none              ; on only beyond BC
        ld a,c
        sub l
        ld a,b
        sbc a,h
        ret nc
        ld h,b                  ; the last is BC
        ld l,c
        or a
        ret
_none:
        scf
        ret

; LINE
; draw_line draws from (gfx_x1, gfx_y1) to (gfx_x2, gfx_y2) in colour A,
; leaving the four coordinates as they were. It works from the left end
; along the major axis: x when |dx| >= |dy|, else y. With d the major
; length and e the minor one, step k (0..d) puts the pixel at minor offset
; (e * k + d / 2) / d, rounded down: one pixel in every column (or row),
; both ends lit, and the same pixels whichever end comes first. The loops
; keep the remainder of that division less d (-d..-1), which carries just
; as the offset moves on. A line with an end off the display is first
; narrowed to the steps whose pixels lie on it, so a line of any length
; takes at most 256 steps.
draw_line:
        ld (line_colour),a
        ld hl,(gfx_x1)
        ld de,(gfx_y1)
        ld bc,(gfx_x2)
        ld a,(gfx_y2+1)
        or h
        or d
        or b
        jr nz,line_clipped
        ld h,e                  ; both ends on the display: all in 8 bits,
        ld e,c                  ; L, H the first end and E, D the second
        ld a,(gfx_y2)
        ld d,a
        ld a,e
        sub l
        jr nc,_rightwards
        ex de,hl                ; the second end is the left one
        neg
_rightwards:
        ld c,a                  ; C = dx, from the left end L, H
        ld a,d
        sub h
        ld b,0
        jr nc,_downwards
        neg
        dec b
_downwards:
        ld d,a                  ; D = |dy|
        ld a,b
        ld (line_up),a
        ld e,h
        ld b,0
        ld a,d
        cp c
        jr c,_shallow
        jr z,_shallow
        ld b,c                  ; |dy| > dx: y is the major axis
        ld c,d
        ld d,b
        ld b,0FFh
_shallow:
        ld a,b
        ld (line_steep),a
        ld a,d
        exx
        ld e,a
        ld d,0                  ; DE' = e
        exx
        ld a,c
        exx
        ld c,a
        srl a
        ld l,a
        ld h,0
        xor a
        sub c
        ld c,a
        sbc a,a
        ld b,a                  ; BC' = -d
        add hl,bc               ; HL' = the error, d / 2 - d
        exx
        ld b,c
        inc b                   ; d + 1 pixels, 256 as 0
        jp line_run

line_clipped:
        ld hl,(gfx_x1)
        ld de,(gfx_x2)
        call difference
        push hl                 ; |dx|
        ld hl,(gfx_x1)
        ld de,(gfx_y1)
        ld bc,(gfx_y2)
        jr nc,_left
        ld hl,(gfx_x2)          ; the second end is the left one
        ld de,(gfx_y2)
        ld bc,(gfx_y1)
_left:
        ld (line_major),hl      ; x along the major axis, y along the minor
        ld (line_minor),de
        ex de,hl
        ld d,b
        ld e,c
        call difference
        sbc a,a                 ; FFh when the line rises
        ld (line_minor_back),a
        ld (line_up),a
        ld (line_minor_length),hl
        pop de
        ld (line_major_length),de
        xor a
        ld (line_major_back),a
        ld (line_steep),a
        sbc hl,de               ; |dy| - |dx|
        jr c,_narrow
        jr z,_narrow
        ld hl,line_major        ; |dy| > |dx|: y is the major axis
        ld de,line_minor
        ld b,line_minor-line_major
_swap:
        ld a,(de)
        ld c,(hl)
        ld (hl),a
        ld a,c
        ld (de),a
        inc hl
        inc de
        djnz _swap
        dec b
        ld a,b
        ld (line_steep),a
_narrow:
        ld hl,(line_major)      ; the steps whose major coordinate is on
        ld a,(line_major_back)
        ld bc,(line_major_length)
        call offset_range
        ret c
        ld (line_first),de
        ld (line_last),hl
        ld hl,(line_minor)      ; and the minor offsets a..b that are on
        ld a,(line_minor_back)
        ld bc,(line_minor_length)
        call offset_range
        ret c
        push hl
        ld a,d
        or e
        jr z,_from_first
        ex de,hl
        call line_steps         ; the step before offset a
        inc hl
        ld de,(line_first)
        or a
        sbc hl,de
        add hl,de               ; carry when HL < DE
        jr c,_from_first
        ld (line_first),hl
_from_first:
        pop hl
        ld de,(line_minor_length)
        or a
        sbc hl,de
        jr z,_to_last           ; b is the far end's offset
        add hl,de
        inc hl
        call line_steps         ; the last step before offset b + 1
        ld de,(line_last)
        or a
        sbc hl,de
        add hl,de
        jr nc,_to_last
        ld (line_last),hl
_to_last:
        ld hl,(line_last)
        ld de,(line_first)
        or a
        sbc hl,de
        ret c                   ; no step has its pixel on the display
        inc hl
        push hl                 ; pixels to draw, 256 as 0
        ld hl,(line_major_length)
        srl h
        rr l                    ; d / 2
        ld a,d
        or e
        jr z,_start             ; from step 0: offset 0, remainder d / 2
        push hl
        ld hl,(line_minor_length)
        call multiply16         ; e * k
        pop bc
        add hl,bc
        jr nc,_divide
        inc de
_divide:
        ld bc,(line_major_length)
        call divide32
        ex de,hl                ; DE = the offset
        ld h,b
        ld l,c                  ; HL = the remainder
_start:
        ld bc,(line_major_length)
        or a
        sbc hl,bc
        push hl                 ; the error: remainder - d, in 0 - d..-1
        ld a,(line_minor_back)  ; the first pixel: minor + or - the offset
        ld b,a
        ld a,e
        xor b
        sub b
        ld hl,line_minor
        add a,(hl)
        ld c,a
        ld a,(line_major_back)  ; and major + or - the first step
        ld b,a
        ld a,(line_first)
        xor b
        sub b
        ld hl,line_major
        add a,(hl)
        ld l,a
        ld e,c
        ld a,(line_steep)
        or a
        jr z,_placed
        ld e,l
        ld l,c
_placed:
        exx
        ld hl,(line_major_length)
        xor a
        sub l
        ld c,a
        sbc a,a
        sub h
        ld b,a                  ; BC' = -d
        ld de,(line_minor_length)
        pop hl                  ; HL' = the error
        exx
        pop bc
        ld b,c                  ; B = pixels

; Draws the line from pixel (L, E), B pixels (0 for 256), with the
; alternate set ready for the loops below.
line_run:
        call pixel_address
        ld c,a
        ld de,LINE_BYTES
        ld a,(line_up)
        or a
        jr z,_colour
        ld de,-LINE_BYTES
_colour:
        ld a,(line_colour)
        or a
        jr nz,_ink
        ld a,c
        cpl
        ld c,a
        ld a,(line_steep)
        or a
        jp z,line_across_paper
        jp line_down_paper
_ink:
        ld a,(line_steep)
        or a
        jp z,line_across_ink
        jp line_down_ink

; HL := the last step of the line whose minor offset is below HL (1..e):
; (HL * d - d / 2 - 1) / e. Uses everything but IX and IY.
line_steps:
        ld de,(line_major_length)
        call multiply16
        ld bc,(line_major_length)
        srl b
        rr c
        inc bc
        or a
        sbc hl,bc
        jr nc,_divide
        dec de
_divide:
        ld bc,(line_minor_length)
        jp divide32

; The line's pixel loops. HL = the byte, C = the mask, B = the pixels to
; draw (0 for 256), DE = +32 or -32, a line down or up. The remainder less
; d in HL' grows by e (DE') each step; when it carries, the minor offset
; goes on by one and it takes d back (BC' = -d). Ink sets the mask's bit, which
; rotates into the carry as it wraps to the next byte; paper clears the
; complemented mask's bit, whose carry is clear as it wraps.

; Along x, a pixel to the right each step.
LINE_ACROSS MACRO op, wraps
        LOCAL pixel, level, next_byte
pixel:
        ld a,(hl)
        op c
        ld (hl),a
        exx
        add hl,de
        jr nc,level
        add hl,bc
        exx
        add hl,de
        rrc c
        jr wraps,next_byte
        djnz pixel
        ret
level:
        exx
        rrc c
        jr wraps,next_byte
        djnz pixel
        ret
next_byte:
        inc l
        djnz pixel
        ret
        ENDM

; Along y, a line down or up each step.
LINE_DOWN MACRO op, wraps
        LOCAL pixel, plumb, next_byte
pixel:
        ld a,(hl)
        op c
        ld (hl),a
        add hl,de
        exx
        add hl,de
        jr nc,plumb
        add hl,bc
        exx
        rrc c
        jr wraps,next_byte
        djnz pixel
        ret
plumb:
        exx
        djnz pixel
        ret
next_byte:
        inc l
        djnz pixel
        ret
        ENDM

line_across_ink:
        LINE_ACROSS or, c
line_across_paper:
        LINE_ACROSS and, nc
line_down_ink:
        LINE_DOWN or, c
line_down_paper:
        LINE_DOWN and, nc

; CIRCLE
; draw_circle draws the circle of centre (HL, DE) and radius BC (0..32767;
; one above draws nothing) in colour A. It steps x from 0 while x <= y, with y the largest whose
; x^2 + y(y - 1) < r^2 (midpoint rounding, so every pixel is within half a
; pixel of the radius), and draws the eight points (cx +- x, cy +- y) and
; (cx +- y, cy +- x). P = x^2 + y(y + 1) - r^2, from 0 to 2y - 1, decides y
; at the next x: P + 2x + 1 >= 2y takes y one lower.
;
; A point is drawn where its column and its line are both on the display.
; Column cx + v is on for v in one range of 0..r, and so are cx - v, cy + v
; and cy - v (circle_ranges). Only at x in one of the four ranges can a
; point be drawn, so the walk skips the gaps between them, finding y at the
; far side from a square root: a huge circle costs no more than the
; stretches of it that cross the display. A run is a stretch over which
; neither x nor y crosses a bound of a range. The columns (mask and byte,
; both 0 when off) and lines (address, 8000h when off) are found at its
; start and then moved a pixel at a time; one that is off stays off.
draw_circle:
        bit 7,b
        ret nz
        ld (circle_cx),hl
        ld (circle_cy),de
        ld (circle_r),bc
        ld (circle_colour),a
        ld a,b
        or c
        ld a,(circle_colour)
        jp z,plot               ; radius 0: the centre alone
        push ix
        push iy
        ld ix,circle_ranges
        ld hl,(circle_cx)
        xor a
        call circle_range       ; cx + v
        ld hl,(circle_cx)
        ld a,1
        call circle_range       ; cx - v
        ld hl,(circle_cy)
        xor a
        call circle_range       ; cy + v
        ld hl,(circle_cy)
        ld a,1
        call circle_range       ; cy - v
        ld iy,circle_line_ink   ; IY: the routine that draws the points of
        ld a,(circle_colour)    ; a line in the colour
        or a
        jr nz,_walk
        ld iy,circle_line_paper
_walk:
        ld hl,0
        ld (circle_x),hl
        ld hl,(circle_r)
        ld (circle_y),hl
        ld (circle_p),hl        ; P = r at x = 0, y = r
_run:
        call circle_run
        jr nc,_draw
        inc hl                  ; nothing on until the next bound
        ld (circle_x),hl
        ld de,(circle_r)
        or a
        sbc hl,de
        jr nc,_done             ; at x = r the octant is long over
        call circle_jump
        jr nc,_run
_done:
        pop iy
        pop ix
        ret
_draw:
        ld de,(circle_x)
        or a
        sbc hl,de
        inc l
        ld a,l
        ld (circle_left),a      ; x values in the run, 256 as 0
        ld ix,circle_columns
        call circle_derive      ; cx +- x, cy +- x
        ld ix,circle_columns+4
        ld de,(circle_y)
        call circle_derive      ; cx +- y, cy +- y
        ld bc,(circle_columns+4)
        ld de,(circle_columns+6)
        exx
        ld bc,(circle_columns)
        ld de,(circle_columns+2)
_step:
        ld hl,(circle_lines+4)  ; lines cy + y and cy - y with columns
        call _line              ; cx +- x in BC and DE
        ld hl,(circle_lines+6)
        call _line
        exx
        ld hl,(circle_lines)    ; lines cy +- x with columns cx +- y
        call _line
        ld hl,(circle_lines+2)
        call _line
        exx
        rrc c                   ; cx + x a pixel right
        jr nc,_left
        inc b
_left:
        rlc e                   ; cx - x a pixel left
        jr nc,_moved
        dec d
_moved:
        push bc
        push de
        ld hl,(circle_lines)    ; cy + x a line down
        ld de,LINE_BYTES
        add hl,de
        ld (circle_lines),hl
        ld hl,(circle_lines+2)  ; cy - x a line up
        ld de,-LINE_BYTES
        add hl,de
        ld (circle_lines+2),hl
        ld hl,(circle_y)
        add hl,hl
        ex de,hl                ; DE = 2y
        ld hl,(circle_x)
        ld b,h
        ld c,l
        inc bc
        ld (circle_x),bc
        add hl,bc               ; 2x + 1
        ld bc,(circle_p)
        add hl,bc               ; P + 2x + 1, its 17th bit in the carry
        jr c,_fall
        sbc hl,de
        jr nc,_fallen
        add hl,de
        ld (circle_p),hl
        ld hl,(circle_y)
        jr _check
_fall:
        or a
        sbc hl,de
_fallen:
        ld (circle_p),hl        ; P + 2x + 1 - 2y
        ld hl,(circle_y)
        ld de,(circle_turn)
        or a
        sbc hl,de
        add hl,de
        dec hl
        ld (circle_y),hl
        jr nz,_lower
        ld a,1                  ; y fell from a bound: the run ends here
        ld (circle_left),a
        jr _check
_lower:
        exx
        rlc c                   ; cx + y a pixel left
        jr nc,_right
        dec b
_right:
        rrc e                   ; cx - y a pixel right
        jr nc,_lines
        inc d
_lines:
        exx
        ld hl,(circle_lines+4)  ; cy + y a line up
        ld de,-LINE_BYTES
        add hl,de
        ld (circle_lines+4),hl
        ld hl,(circle_lines+6)  ; cy - y a line down
        ld de,LINE_BYTES
        add hl,de
        ld (circle_lines+6),hl
        ld hl,(circle_y)
_check:
        ld de,(circle_x)        ; on while x <= y
        or a
        sbc hl,de
        pop de
        pop bc
        jp c,_done
        ld hl,circle_left
        dec (hl)
        jp nz,_step
        jp _run
_line:
        jp (iy)

; Draws the pixels of columns BC and DE (mask C or E, byte B or D) on the
; line at HL, none when HL is below the display (the line is off it). A
; column off the display has mask 0 and leaves its byte as it was.
circle_line_ink:
        ld a,h
        cp HIGH SCREEN
        ret c
        ld a,l
        or b
        ld l,a
        ld a,(hl)
        or c
        ld (hl),a
        ld a,l
        xor b
        or d
        ld l,a
        ld a,(hl)
        or e
        ld (hl),a
        ret

circle_line_paper:
        ld a,h
        cp HIGH SCREEN
        ret c
        ld a,l
        or b
        ld l,a
        ld a,c
        cpl
        and (hl)
        ld (hl),a
        ld a,l
        xor b
        or d
        ld l,a
        ld a,e
        cpl
        and (hl)
        ld (hl),a
        ret

; Stores at IX the range of v (0..r) over which c + v (A = 0) or c - v
; (A = 1) lies on the display, c = HL: its first v and the first v past
; it, both FFFFh when there is none. IX moves on past them.
circle_range:
        ld bc,(circle_r)
        call offset_range
        inc hl
        jr nc,_store
        ld hl,0FFFFh
        ld d,h
        ld e,l
_store:
        ld (ix+0),e
        ld (ix+1),d
        ld (ix+2),l
        ld (ix+3),h
        ld de,4
        add ix,de
        ret

; The run from x = circle_x: HL = its last x, just before the next bound of
; a range. Carry set when x lies in none of the ranges, so nothing can be
; drawn there. circle_turn := the highest bound at or below y (0 if none):
; when y falls from it, a column or line of y comes on or goes off. Uses A,
; BC, DE, IX.
circle_run:
        ld ix,circle_ranges
        ld hl,0
        ld (circle_turn),hl
        ld bc,0FFFFh            ; the nearest bound above x
        xor a                   ; the ranges holding x: starts less ends
        call _range             ; at or below x
        call _range
        call _range
        call _range
        ld h,b
        ld l,c
        dec hl
        cp 1
        ret
_range:
        call _bound
        adc a,0
        call _bound
        sbc a,0
        ret
; The bound at IX, which IX moves past: carry set when it is at or below x.
; Keeps A.
_bound:
        ld l,(ix+0)
        ld h,(ix+1)
        inc ix
        inc ix
        ld de,(circle_y)
        or a
        sbc hl,de
        add hl,de
        jr z,_turn
        jr nc,_x
_turn:
        ld de,(circle_turn)
        or a
        sbc hl,de
        add hl,de
        jr c,_x
        ld (circle_turn),hl
_x:
        ld de,(circle_x)
        scf
        sbc hl,de
        ret c
        add hl,de
        inc hl
        or a
        sbc hl,bc
        add hl,bc
        jr nc,_far
        ld b,h
        ld c,l
_far:
        or a
        ret

; y and P from scratch for x = circle_x (below r): y = s or s + 1, with s
; the square root of T = r^2 - x^2 rounded down, found by Newton's method
; from r, which is above it. Carry set when y < x. Uses everything but IX
; and IY.
circle_jump:
        ld hl,(circle_r)
        ld d,h
        ld e,l
        call multiply16
        push de
        push hl                 ; r^2
        ld hl,(circle_x)
        ld d,h
        ld e,l
        call multiply16         ; x^2
        ld b,h
        ld c,l
        pop hl
        or a
        sbc hl,bc
        ld (circle_t),hl
        pop hl
        sbc hl,de
        ld (circle_t+2),hl      ; T
        ld hl,(circle_r)
_newton:
        push hl                 ; s
        ld b,h
        ld c,l
        ld hl,(circle_t)
        ld de,(circle_t+2)
        call divide32           ; T / s, below 65536 as s is above the root
        pop de
        add hl,de               ; s + T / s, at most 2s
        srl h
        rr l                    ; the next s
        or a
        sbc hl,de
        add hl,de               ; carry while s still falls
        jr c,_newton
        ex de,hl
        push hl
        ld d,h
        ld e,l
        inc de
        call multiply16         ; s(s + 1)
        ld bc,(circle_t)
        or a
        sbc hl,bc
        ex de,hl
        ld bc,(circle_t+2)
        sbc hl,bc               ; s(s + 1) - T: negative when y = s + 1
        ex de,hl
        pop bc
        bit 7,d
        jr z,_found
        inc bc                  ; y = s + 1, and P is 2(s + 1) more
        add hl,bc
        add hl,bc
_found:
        ld (circle_p),hl
        ld (circle_y),bc
        ld h,b
        ld l,c
        ld de,(circle_x)
        or a
        sbc hl,de
        ret

; The columns cx + v and cx - v into (IX+0..3), and the lines cy + v and
; cy - v into (IX+8..11), for v = DE (0..32767). Uses A, BC, HL.
circle_derive:
        ld hl,(circle_cx)
        add hl,de
        call column
        ld (ix+0),l
        ld (ix+1),h
        ld hl,(circle_cx)
        call less
        call column
        ld (ix+2),l
        ld (ix+3),h
        ld hl,(circle_cy)
        add hl,de
        call line_address
        ld (ix+8),l
        ld (ix+9),h
        ld hl,(circle_cy)
        call less
        call line_address
        ld (ix+10),l
        ld (ix+11),h
        ret

; HL := HL - DE for DE in 0..32767, but a negative HL stays as it is: the
; difference is negative too, and must not wrap round onto the display.
less:
        bit 7,h
        ret nz
        or a
        sbc hl,de
        ret

; The column of x = HL: H = its byte in a line, L = its mask; both 0 when
; x is off the display. Uses A, BC.
column:
        ld a,h
        or a
        jr nz,_off
        ld b,HIGH pixel_masks
        ld a,l
        and 7
        or LOW pixel_masks
        ld c,a
        ld a,l
        rrca
        rrca
        rrca
        and 1Fh
        ld h,a
        ld a,(bc)
        ld l,a
        ret
_off:
        ld hl,0
        ret

; HL := the address of line y = HL, or 8000h when it is off the display,
; which stays below the display however far the line is moved. Uses A.
line_address:
        ld a,h
        or a
        jr nz,_off
        ld a,l
        rrca
        rrca
        rrca
        ld l,a
        and 1Fh
        or HIGH SCREEN
        ld h,a
        ld a,l
        and 0E0h
        ld l,a
        ret
_off:
        ld hl,8000h
        ret
