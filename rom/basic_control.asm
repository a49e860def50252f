; The control stack: the frames of FOR loops and GOSUBs, growing up from
; ctl_stack. Both kinds start with where to go on (the text after the FOR or
; GOSUB statement, and its line's header, 0 for the direct line) and end
; with their kind, so the stack can be walked down from its top.
;   GOSUB: text (2), line (2), FRAME_GOSUB
;   FOR:   text (2), line (2), limit (5), step (5), the variable's slot (2), FRAME_FOR
; NEXT finds its loop's frame without searching the program; a FOR on a
; variable that already has a loop ends that loop and those inside it.

FRAME_GOSUB     EQU 1
FRAME_FOR       EQU 2
GOSUB_FRAME     EQU 5
FOR_FRAME       EQU 17
F_TEXT          EQU 0
F_LINE          EQU 2
F_LIMIT         EQU 4
F_STEP          EQU 9
F_VAR           EQU 14

; HL := C bytes newly reserved on the control stack; Out of memory when it
; is full.
ctl_reserve:
        ld hl,(ctl_sp)
        push hl
        ld b,0
        add hl,bc
        ld a,h
        cp HIGH CTL_END
        jp nc,out_of_memory
        ld (ctl_sp),hl
        pop hl
        ret

; HL := the frame below the one that ends at HL, Z when HL is the bottom.
; A := its kind.
ctl_below:
        ld bc,ctl_stack
        or a
        sbc hl,bc
        ret z
        add hl,bc
        dec hl
        ld a,(hl)
        ld bc,-(GOSUB_FRAME-1)
        cp FRAME_GOSUB
        jr z,_start
        ld bc,-(FOR_FRAME-1)
_start:
        add hl,bc
        or a                    ; NZ: kinds are not 0
        ret

; GOSUB line
stmt_gosub:
        call line_target
; Goes to line DE, to come back to the text at HL.
gosub_to:
        push de
        push hl
        ld c,GOSUB_FRAME
        call ctl_reserve
        pop de
        call frame_start
        ld (hl),FRAME_GOSUB
        pop hl
        jp exec_line

; Stores the text DE and the running line at HL, HL moving past them.
frame_start:
        ld (hl),e
        inc hl
        ld (hl),d
        inc hl
        ld de,(cur_line)
        ld (hl),e
        inc hl
        ld (hl),d
        inc hl
        ret

; RETURN: back after the latest GOSUB; the loops begun since it end.
stmt_return:
        ld hl,(ctl_sp)
_frame:
        call ctl_below
        jr z,_none
        cp FRAME_GOSUB
        jr nz,_frame
        ld (ctl_sp),hl
        jr resume_frame
_none:
        ld a,ERR_RETURN
        jp basic_error

; Goes on after the statement whose text and line the frame at HL holds.
resume_frame:
        ld e,(hl)
        inc hl
        ld d,(hl)
        inc hl
        ld a,(hl)
        inc hl
        ld h,(hl)
        ld l,a
        ld (cur_line),hl
        ex de,hl
        jp end_statement

; HL := the FOR frame of the variable whose slot is DE (of any variable
; when DE is 0), looking down from the top as far as the latest GOSUB;
; carry set when there is none.
find_for:
        ld hl,(ctl_sp)
_frame:
        call ctl_below
        scf
        ret z
        cp FRAME_FOR
        scf
        ret nz
        ld a,d
        or e
        ret z
        push hl
        ld bc,F_VAR
        add hl,bc
        ld a,(hl)
        inc hl
        ld h,(hl)
        ld l,a
        sbc hl,de
        pop hl
        ret z
        jr _frame

; FOR variable = first TO last [STEP step]
stmt_for:
        ld a,(hl)
        cp TK_NVAR
        jp nz,syntax_error
        push hl
        inc hl
        call slot_at
        pop hl
        push de                 ; the variable's slot waits on the stack
        call stmt_let
        rst 18h
        DEFB TK_TO
        call eval_number
        ld a,(fp_acc+4)         ; the limit waits too
        push af
        ld de,(fp_acc+2)
        push de
        ld de,(fp_acc)
        push de
        ld a,(hl)
        cp TK_STEP
        jr nz,_one
        inc hl
        call eval_number
        jr _step
_one:
        push hl
        ld hl,1
        call set_int
        pop hl
_step:
        push hl
        ld hl,8
        add hl,sp
        ld e,(hl)
        inc hl
        ld d,(hl)
        call find_for
        jr c,_new
        ld (ctl_sp),hl          ; the loop already running on it ends
_new:
        ld c,FOR_FRAME
        call ctl_reserve
        push hl
        pop ix
        pop de                  ; the text after the statement
        call frame_start
        pop de                  ; the limit
        ld (hl),e
        inc hl
        ld (hl),d
        inc hl
        pop de
        ld (hl),e
        inc hl
        ld (hl),d
        inc hl
        pop af
        ld (hl),a
        inc hl
        ex de,hl
        ld hl,fp_acc            ; the step
        ld bc,5
        ldir
        ex de,hl
        pop de                  ; the variable
        ld (hl),e
        inc hl
        ld (hl),d
        inc hl
        ld (hl),FRAME_FOR
        ld l,(ix+F_TEXT)
        ld h,(ix+F_TEXT+1)
        ret

; NEXT [variable [, variable ...]]: the step goes onto the variable, and
; the loop runs again unless the variable has passed the limit (beyond it
; in the step's direction). Small integers take a 16-bit path.
stmt_next:
        ld de,0
        ld a,(hl)
        cp TK_NVAR
        jr nz,_any
        inc hl
        call slot_at
_any:
        push hl
        call find_for
        ld a,ERR_NEXT
        jp c,basic_error
        push hl
        pop ix
        ld de,FOR_FRAME
        add hl,de
        ld (ctl_sp),hl          ; the loops inside this one end
        ld l,(ix+F_VAR)
        ld h,(ix+F_VAR+1)
        push hl
        ld de,4
        add hl,de
        ld a,(hl)
        or (ix+F_LIMIT+4)
        or (ix+F_STEP+4)
        pop hl
        jr nz,_float
        ld e,(hl)
        inc hl
        ld d,(hl)
        push hl
        ld l,(ix+F_STEP)
        ld h,(ix+F_STEP+1)
        adc hl,de               ; (carry is clear)
        ex de,hl
        pop hl
        dec hl
        jp pe,_float            ; past 32767: the floating-point way
        ld (hl),e
        inc hl
        ld (hl),d
        ex de,hl
        ld e,(ix+F_LIMIT)
        ld d,(ix+F_LIMIT+1)
        call int_compare
        jr z,_again
        sbc a,a                 ; FFh below the limit, 1 above it
        or 1
        jr _compared
_float:
        push hl
        ld de,fp_arg
        ld bc,5
        ldir
        push ix
        pop hl
        ld de,F_STEP
        add hl,de
        ld de,fp_acc
        ld c,5
        ldir
        call fp_add
        pop de
        push de
        ld hl,fp_acc
        ld bc,5
        ldir
        pop hl
        ld de,fp_arg
        ld c,5
        ldir
        push ix
        pop hl
        ld de,F_LIMIT
        add hl,de
        ld de,fp_acc
        ld c,5
        ldir
        call fp_compare
        jr z,_again
_compared:
        ld b,a                  ; bit 7 set: below the limit
        ld a,(ix+F_STEP+4)
        or a
        ld a,(ix+F_STEP+1)      ; the step's sign: a small integer's
        jr z,_sign
        ld a,(ix+F_STEP+3)      ; or a float's
_sign:
        xor b
        jp p,_done              ; beyond the limit in the step's direction
_again:
        push ix
        pop hl
        jp resume_frame
_done:
        push ix
        pop hl
        ld (ctl_sp),hl
        pop hl
        ld a,(hl)
        cp ','
        ret nz
        inc hl
        jp stmt_next

; ON n GOTO line, line, ... (or GOSUB): goes to the n-th line; past the
; list when there is none.
stmt_on:
        call eval_int
        ld a,(hl)
        inc hl
        cp TK_GOTO
        jr z,_kind
        cp TK_GOSUB
        jp nz,syntax_error
_kind:
        push af
        ld b,e
        ld a,d
        or a
        jr z,_count
        ld b,0                  ; out of range: no item counts down to 0 in time
_count:
        ld de,0
_item:
        ld a,(hl)
        cp TK_LINE
        jp nz,syntax_error
        dec b
        jr nz,_next
        ld d,h
        ld e,l
_next:
        ld a,l
        add a,5
        ld l,a
        jr nc,_carried
        inc h
_carried:
        ld a,(hl)
        cp ','
        jr nz,_end
        inc hl
        jr _item
_end:
        pop af
        ld b,a
        ld a,d
        or e
        ret z
        push hl
        ex de,hl
        call line_target
        pop hl
        ld a,b
        cp TK_GOSUB
        jp z,gosub_to
        ex de,hl
        jp exec_line

; The frames a direct line left (its loops and GOSUBs) go before the next
; one runs: the text they would go back to is no longer there.
drop_direct_frames:
        ld hl,(ctl_sp)
        ld d,h
        ld e,l
_frame:
        call ctl_below
        jr z,_dropped
        push hl
        inc hl
        inc hl
        ld a,(hl)
        inc hl
        or (hl)
        pop hl
        jr nz,_frame
        ld d,h
        ld e,l
        jr _frame
_dropped:
        ld (ctl_sp),de
        ret
