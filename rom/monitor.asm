; The monitor: reads command lines and runs them. A command is a word and
; its values, separated by spaces; numbers are hex unless a command says
; otherwise. Every error prints a message, sounds the error beep and goes
; back to the prompt, from however deep it was found.

; The end of every error (see error in main.asm): the message on a fresh
; line, the error beep, and on to the prompt. BASIC's tape statements use
; the monitor's tape routines, whose errors go back to BASIC instead.
error_report:
        ld a,(tape_basic)
        or a
        jp nz,basic_tape_error  ; BASIC's SAVE or LOAD ends with it
        call fresh_line
        call print_string
        call new_line
        call error_beep
        ; on to the prompt

; The warm start: back to the prompt with a fresh stack.
monitor:
        ld sp,STACK_TOP
        ei
_loop:
        call read_line
        jr c,_loop
        call run_command
        jr _loop

; Runs the command line at HL. A name in the table matches a word of the
; line in any case of its letters.
run_command:
        call skip_spaces
        ret z
        ld de,commands
_entry:
        ld a,(de)
        or a
        jr z,error_command
        push hl
_match:
        ld a,(de)
        inc de
        or a
        jr z,_name_end
        ld b,a
        ld a,(hl)
        inc hl
        call upper_case
        cp b
        jr z,_match
_skip:                          ; to the end of the name
        ld a,(de)
        inc de
        or a
        jr nz,_skip
_next:
        pop hl
        inc de
        inc de
        jr _entry
_name_end:                      ; the whole name matched: the word must end too
        ld a,(hl)
        or a
        jr z,_found
        cp ' '
        jr nz,_next
_found:
        ex de,hl                ; HL = the command's address in the table
        ld a,(hl)
        inc hl
        ld h,(hl)
        ld l,a
        ex (sp),hl              ; in place of the line position before the word
        ex de,hl                ; HL = the line after the word
        ret                     ; to the command

error_command:
        rst 30h
        DEFB "What? Type HELP for commands",0
error_extra:
        rst 30h
        DEFB "Extra input at end",0

commands:
        DEFB "D",0
        DEFW cmd_dump
        DEFB "E",0
        DEFW cmd_enter
        DEFB "F",0
        DEFW cmd_fill
        DEFB "C",0
        DEFW cmd_copy
        DEFB "G",0
        DEFW cmd_go
        DEFB "I",0
        DEFW cmd_in
        DEFB "O",0
        DEFW cmd_out
        DEFB "B",0
        DEFW cmd_beep
        DEFB "S",0
        DEFW cmd_save
        DEFB "L",0
        DEFW cmd_load
        DEFB "CLS",0
        DEFW cmd_cls
        DEFB "BASIC",0
        DEFW basic_command
        DEFB "HELP",0
        DEFW cmd_help
        DEFB "?",0
        DEFW cmd_help
        DEFB 0

; HELP and ?. A byte SPACES + n in the text stands for n spaces.
SPACES          EQU 80h

cmd_help:
        rst 28h
        ld hl,help_text
_next:
        ld a,(hl)
        inc hl
        or a
        ret z
        ld b,1
        jp p,_print             ; a character
        and 7Fh                 ; a run of spaces
        ld b,a
        ld a,' '
_print:
        rst 08h
        djnz _print
        jr _next

help_text:
        DEFB "Numbers are hex. Commands:",13
        DEFB "D [addr [len]]",SPACES+3,"show memory",13
        DEFB "E addr xx \"text\" change memory",13
        DEFB "F addr len xx",SPACES+4,"fill",13
        DEFB "C from to len",SPACES+4,"copy",13
        DEFB "G addr",SPACES+11,"run code",13
        DEFB "I port",SPACES+11,"read port",13
        DEFB "O port xx",SPACES+8,"write port",13
        DEFB "B [hz [ms]]",SPACES+6,"beep, decimal",13
        DEFB "S \"name\" addr len [run]",13
        DEFB SPACES+17,"save to tape",13
        DEFB "L [\"name\"]",SPACES+7,"load from tape",13
        DEFB "CLS",SPACES+14,"clear screen",13
        DEFB "BASIC",SPACES+12,"enter BASIC",13
        DEFB "Keys: Ctrl+C break, Ctrl+H del",13
        DEFB "Ctrl+5678 cursor, Ctrl+L clear",13
        DEFB 0

; CLS
cmd_cls:
        rst 28h
        jp clear_screen
