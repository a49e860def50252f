; BASIC's reach into the machine: POKE and PEEK, CALL and USR for machine
; code (which returns to BASIC with RET), IN and OUT; the text cursor, the
; drawing, the sound, the time and the keyboard. (CLS is the screen's own
; clear_screen.)

; POKE address, byte: refuses the system's area (4000h-4FFFh), where the
; screen's, keyboard's and BASIC's own variables and the stack live.
stmt_poke:
        call word_and_byte
        ld b,a
        ld a,d
        and 0F0h
        cp HIGH SYSTEM_START
        ld a,ERR_SYSTEM
        jp z,basic_error
        ld a,b
        ld (de),a
        ret

; PEEK(address)
fn_peek:
        call paren_word
        ld a,(de)
        jp small_result

; CALL address: runs the machine code there as a subroutine.
stmt_call:
        call eval_word
call_de:
        push hl
        ex de,hl
        call jump_hl
        pop hl
        ret

; USR(address): the same, as a function whose value is the code's HL on its
; return, as a signed number.
fn_usr:
        call paren_word
        push hl
        ex de,hl
        call jump_hl
        call set_int
        pop hl
        ret

; DE := an address in brackets.
paren_word:
        call paren_number
        jp acc_to_word

; OUT port, byte: the port is all 16 bits of BC in the Z80's OUT (C),A.
stmt_out:
        call word_and_byte
        ld b,d
        ld c,e
        out (c),a
        ret

; DE := an address or a port at HL, then a comma and A := a byte.
word_and_byte:
        call eval_word
        push de
        rst 18h
        DEFB ','
        call eval_byte
        pop de
        ret

; IN(port): the byte IN A,(C) reads with BC = port.
fn_in:
        call paren_word
        ld b,d
        ld c,e
        in a,(c)
        jp small_result

; LOCATE row, column: where PRINT goes on, both 0-31.
stmt_locate:
        call eval_column
        push af
        rst 18h
        DEFB ','
        call eval_column
        pop de                  ; D = the row
        ld e,a
        ex de,hl
        call set_cursor
        ex de,hl
        ret

; PSET x, y [, colour], LINE x1, y1, x2, y2 [, colour] and CIRCLE x, y, r
; [, colour]. The integers go to the words from gfx_x1 on (so LINE's ends
; are where draw_line takes them); the routine gets the first three in HL,
; DE and BC and the colour in A, 1 (ink) when none is given.
stmt_pset:
        ld b,2
        ld de,plot
        jr draw
stmt_circle:
        ld b,3
        ld de,circle
        jr draw
stmt_line:
        ld b,4
        ld de,draw_line
draw:
        push de
        ld de,gfx_x1
        jr _arg
_next:
        rst 18h
        DEFB ','
_arg:
        push bc
        push de
        call eval_int
        ex de,hl                ; HL = the value, DE = the text
        ex (sp),hl              ; HL = its word
        pop bc
        ld (hl),c
        inc hl
        ld (hl),b
        inc hl
        ex de,hl
        pop bc
        djnz _next
        ld a,(hl)
        cp ','
        ld a,1
        jr nz,_draw
        inc hl
        call eval_int
        ld a,d
        or e
_draw:
        pop de
        push hl
        call _call
        pop hl
        ret
_call:
        push de
        ld hl,(gfx_x1)
        ld de,(gfx_y1)
        ld bc,(gfx_x2)
        ret

circle:
        bit 7,b
        jp nz,bad_argument      ; a negative radius
        jp draw_circle

; POINT(x, y): 1 for ink, 0 for paper or off the display.
fn_point:
        rst 18h
        DEFB '('
        call inner_int
        push de
        rst 18h
        DEFB ','
        call inner_int
        rst 18h
        DEFB ')'
        ex (sp),hl              ; HL = x, the text waits
        call point
        pop hl
        jp small_result

; SOUND hertz, milliseconds: a tone of 20 to 9000 Hz for 0 to 32767 ms,
; else Bad argument. The beep holds interrupts off, so its frames go
; uncounted (TIMER falls behind by its length) and BREAK waits for its end.
stmt_sound:
        call eval_int
        push de
        rst 18h
        DEFB ','
        call eval_count
        pop bc
        jr sound
; BEEP: a short tone.
stmt_beep:
        ld bc,1000
        ld de,100
sound:
        push hl
        ld h,b
        ld l,c
        call beep
        pop hl
        ret nc
        jp bad_argument

; DELAY milliseconds (0 to 32767): waits for as many whole frames of 20 ms
; as fit in it. BREAK ends it at the next frame, and CONT goes on after it.
stmt_delay:
        call eval_count
        push hl
        ex de,hl
        call div10
        srl h
        rr l
_frame:
        ld a,h
        or l
        jr z,_done
        halt
        dec hl
        ld a,(break_flag)
        or a
        jr z,_frame
        pop hl
        jp stmt_stop
_done:
        pop hl
        ret

; DE := a numeric expression at HL from 0 to 32767, else Bad argument.
eval_count:
        call eval_int
        bit 7,d
        ret z
        jp bad_argument

; TIMER: the frames since reset, 50 a second, all 32 bits, read with the
; interrupt held off so that both halves are of the same moment.
fn_timer:
        push hl
        di
        ld hl,(frames)
        ld de,(frames_high)
        ei
        call fp_from_long
        pop hl
        jp number_result

; INKEY$: the key waiting, as a string of one character, or "" when none is.
fn_inkey:
        call key_poll           ; Z and A = 0 for none
        push af
        jr z,_length
        ld a,1
_length:
        call str_alloc
        pop af
        jr z,_empty
        ld (de),a
_empty:
        jp temp_push
