; BASIC's command loop and the running of statements.
;
; A line typed with a number goes into the program; one without runs at once
; from tok_buffer (a direct line). Running, HL walks the tokenized text;
; each statement starts at exec_statement with the stack empty (SP =
; STACK_TOP), so a statement that goes elsewhere simply jumps back into the
; loop from however deep it is. cur_line holds the running line's header,
; 0 for the direct line.

MIN_FREE        EQU 256             ; the least room CLEAR leaves for variables

; The cold start: the first time since reset a new program and the banner;
; later back to Ready with the program and variables as left (the monitor's
; BASIC command, basic_command in basic_tape.asm, checks the program first).
basic_start:
        ld a,(basic_started)
        or a
        jr nz,basic_ready
        inc a
        ld (basic_started),a
        ld hl,SCREEN
        ld (heap_top),hl
        call new_program
        call print_inline
        DEFB "Vorn BASIC 1.0",13,0
        call free_bytes
        call print_uint
        call print_inline
        DEFB " bytes free",13,0

; Back to Ready, and read lines.
basic_ready:
        ld sp,STACK_TOP
        call fresh_line
        call print_inline
        DEFB "Ready",13,0
basic_prompt:
        ld de,empty_text
; The line typed starts as the text at DE (EDIT's way in).
basic_edit:
        ld sp,STACK_TOP
        ld hl,0
        ld (cur_line),hl
        ld hl,empty_text
        call edit_line
        jr c,basic_prompt
        call tokenize
        ld hl,(tok_buffer+2)
        ld a,h
        or l
        jr z,_direct
        call store_line
        jr basic_prompt
_direct:
        ld a,(tok_buffer+4)
        or a
        jr z,basic_prompt
        ld a,(prog_dirty)
        or a
        call nz,resolve_program
        ld hl,tok_buffer
        call resolve_line
        call drop_direct_frames
        ld hl,temp_pool
        ld (temp_top),hl
        ld hl,tok_buffer+4
        jr exec_statement

empty_text:
        DEFB 0

; The statement loop. end_statement follows each statement: at ':' the next
; one runs, at the line's end the next line, at ELSE (met after THEN's
; statements ran) the rest of the line is skipped.
end_statement:
        ld a,(hl)
        cp ':'
        jr nz,end_other
        inc hl
; Runs the statement at HL.
exec_statement:
        ld sp,STACK_TOP
        ld a,(break_flag)
        or a
        jp nz,break_here
        ld a,(hl)
        inc hl
        ld de,end_statement
        push de
        cp TK_FIRST_STMT
        jr c,stmt_implicit_let
        cp TK_LAST_STMT+1
        jp nc,syntax_error
        add a,a                 ; (token - 80h) * 2
        ld e,a
        ld d,0
        push hl
        ld hl,stmt_table
        add hl,de
        ld a,(hl)
        inc hl
        ld h,(hl)
        ld l,a
        ex (sp),hl
        ret
stmt_implicit_let:
        dec hl
        jp stmt_let
end_other:
        or a
        jr z,end_of_line
        cp TK_ELSE
        jp nz,syntax_error
_skip:
        call skip_item
        or a
        jr nz,_skip
; HL is at the end of a line (its 0).
end_of_line:
        inc hl
        ld a,(cur_line+1)
        or a
        jp z,basic_ready        ; the direct line is done
; Runs the line whose header is at HL, or stops at the program's end.
exec_line:
        ld a,(hl)
        inc hl
        or (hl)
        jr z,program_end
        dec hl
        ld (cur_line),hl
        ld de,4
        add hl,de
        jr exec_statement

program_end:
stmt_end:
        ld hl,0
        ld (cont_ptr),hl
        jp basic_ready

; BREAK was struck: the statement at HL has not run, and CONT runs it.
break_here:
        xor a
        ld (cont_mode),a
        call keep_place
        ld a,ERR_BREAK
        jp basic_error

; CONT will go on at HL in the running line (not from the direct line,
; whose text the next line typed replaces).
keep_place:
        ld de,(cur_line)
        ld a,d
        or a
        jr nz,_keep
        ld h,a
        ld l,a
_keep:
        ld (cont_ptr),hl
        ld (cont_line),de
        ret

; Statement handlers, by token from TK_FIRST_STMT. Each starts with HL past
; its keyword and returns with HL at the statement's end.
stmt_table:
        DEFW stmt_end           ; END
        DEFW stmt_for           ; FOR
        DEFW stmt_next          ; NEXT
        DEFW stmt_data          ; DATA
        DEFW stmt_input         ; INPUT
        DEFW stmt_dim           ; DIM
        DEFW stmt_read          ; READ
        DEFW stmt_let           ; LET
        DEFW stmt_goto          ; GOTO
        DEFW stmt_run           ; RUN
        DEFW stmt_if            ; IF
        DEFW stmt_restore       ; RESTORE
        DEFW stmt_gosub         ; GOSUB
        DEFW stmt_return        ; RETURN
        DEFW stmt_rem           ; REM
        DEFW stmt_stop          ; STOP
        DEFW stmt_on            ; ON
        DEFW stmt_print         ; PRINT
        DEFW stmt_cont          ; CONT
        DEFW stmt_list          ; LIST
        DEFW stmt_clear         ; CLEAR
        DEFW stmt_new           ; NEW
        DEFW stmt_poke          ; POKE
        DEFW stmt_call          ; CALL
        DEFW stmt_randomize     ; RANDOMIZE
        DEFW stmt_edit          ; EDIT
        DEFW stmt_mon           ; MON
        DEFW clear_screen       ; CLS
        DEFW stmt_locate        ; LOCATE
        DEFW stmt_pset          ; PSET
        DEFW stmt_line          ; LINE
        DEFW stmt_circle        ; CIRCLE
        DEFW stmt_sound         ; SOUND
        DEFW stmt_beep          ; BEEP
        DEFW stmt_delay         ; DELAY
        DEFW stmt_out           ; OUT
        DEFW stmt_save          ; SAVE
        DEFW stmt_load          ; LOAD

; RST 18h's check (see main.asm).
expect_byte:
        ex (sp),hl
        ld a,(hl)
        inc hl
        ex (sp),hl
        cp (hl)
        jr nz,syntax_error
        inc hl
        ret

syntax_error:
        xor a                   ; ERR_SYNTAX
        jp basic_error

type_mismatch:
        ld a,ERR_TYPE
        jp basic_error

out_of_memory:
        ld a,ERR_MEMORY
        jp basic_error

too_complex:
        ld a,ERR_COMPLEX
        jp basic_error

bad_argument:
        ld a,ERR_ARGUMENT
        jp basic_error

; REM: the rest of the line is skipped.
stmt_rem:
; HL := the end of a line of text without operands, such as REM's (its 0).
skip_line:
        xor a
        ld b,a
        ld c,a
        cpir
        dec hl
        ret

; GOTO n
stmt_goto:
        call line_target
goto_line:
        ex de,hl
        jp exec_line

; DE := the line a line target at HL names (Undefined line when there is
; none), HL past the target.
line_target:
        ld a,(hl)
        cp TK_LINE
        jr nz,syntax_error
        inc hl
        ld e,(hl)
        inc hl
        ld d,(hl)
        inc hl
        ld (err_value),de
        ld e,(hl)
        inc hl
        ld d,(hl)
        inc hl
        ld a,d
        or e
        ret nz
        ld a,ERR_UNDEFINED
        jp basic_error

; IF condition THEN statements or line [ELSE statements or line]; GOTO may
; stand for THEN line. A false condition goes on after the ELSE that belongs
; to this IF, if any, else at the next line.
stmt_if:
        call eval_number
        ld a,(hl)
        inc hl
        cp TK_GOTO
        jr z,_test
        cp TK_THEN
        jr nz,syntax_error
_test:
        ld a,(fp_acc+4)         ; a float is never 0; a small integer's
        ld de,(fp_acc)          ; upper bytes are
        or d
        or e
        jr z,_false
_then:
        ld a,(hl)
        cp TK_LINE
        jp nz,exec_statement
        jr stmt_goto
_false:
        ld c,0                  ; IFs met on the way, each owning the next ELSE
_scan:
        call skip_item
        or a
        jp z,end_of_line
        cp TK_IF
        jr nz,_not_if
        inc c
_not_if:
        cp TK_ELSE
        jr nz,_scan
        dec c
        jp p,_scan
        jr _then

; RUN [line]: clears the variables and runs from the start or the line.
stmt_run:
        push hl
        call clear_run
        pop hl
        ld a,(hl)
        cp TK_LINE
        jr z,stmt_goto
        ld hl,PROG_START
        jp exec_line

; STOP: as BREAK, but CONT goes on after it.
stmt_stop:
        ld a,1
        ld (cont_mode),a
        call keep_place
        ld a,ERR_BREAK
        jp basic_error

; CONT: on from where BREAK or STOP left the program.
stmt_cont:
        ld hl,(cont_ptr)
        ld a,h
        or l
        ld a,ERR_CONTINUE
        jp z,basic_error
        ld de,(cont_line)
        ld (cur_line),de
        ld a,(cont_mode)
        or a
        jp nz,end_statement
        jp exec_statement

; CLEAR [top]: clears the variables; with a value, BASIC's memory ends at
; that address, and what lies above it stays untouched by BASIC.
stmt_clear:
        ld a,(hl)
        call is_statement_end
        jr z,_clear
        call eval_word
        push hl
        ld hl,SCREEN-1
        or a
        sbc hl,de
        jp c,bad_argument       ; above DFFFh
        inc de
        ld hl,(names_end)
        ld bc,MIN_FREE
        add hl,bc
        ex de,hl
        sbc hl,de
        jp c,out_of_memory
        add hl,de
        ld (heap_top),hl
        pop hl
_clear:
        push hl
        call clear_run
        pop hl
        ret

; MON: to the monitor, whose BASIC command comes back.
stmt_mon:
        ld hl,monitor_banner
        call print_string
        jp monitor

; NEW
stmt_new:
        call new_program
        jp basic_ready
