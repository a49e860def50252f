; The monitor: reads command lines and runs them. A command is a word and
; its values, separated by spaces; numbers are hex unless a command says
; otherwise. Every error prints a message, sounds the error beep and goes
; back to the prompt, from however deep it was found.

; The warm start: back to the prompt with a fresh stack.
monitor:
        ld sp,STACK_TOP
        ei
_loop:
        call read_line
        jr c,_loop
        call run_command
        jr _loop

; Runs the command line at HL.
run_command:
        call skip_spaces
        ret z
        ld de,commands
_entry:
        ld a,(de)
        or a
        jp z,error_command
        push hl
        call match_word
        jr z,_found
        pop hl
        inc de
        inc de
        jr _entry
_found:
        pop af                  ; the line position before the word
        ex de,hl                ; HL = the command's address in the table
        ld a,(hl)
        inc hl
        ld h,(hl)
        ld l,a
        push hl
        ex de,hl                ; HL = the line after the word
        ret                     ; to the command

; Z when the word at HL is the name at DE (letters in any case), and HL is
; then past the word. DE ends past the name's zero either way.
match_word:
        ld a,(de)
        or a
        jr z,_name_end
        ld b,a
        ld a,(hl)
        call upper_case
        cp b
        jr nz,_differ
        inc hl
        inc de
        jr match_word
_name_end:
        inc de
        ld a,(hl)
        or a
        ret z
        cp ' '
        ret
_differ:
        ld a,(de)
        inc de
        or a
        jr nz,_differ
        inc a
        ret

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

; The errors. Each takes its message and ends the command.
error_command:
        ld hl,msg_command
        jr error
error_number:
        ld hl,msg_number
        jr error
error_missing:
        ld hl,msg_missing
        jr error
error_range:
        ld hl,msg_range
        jr error
error_extra:
        ld hl,msg_extra
        jr error
error_name:
        ld hl,msg_name
        jr error
error_quote:
        ld hl,msg_quote
        jr error
error_system:
        ld hl,msg_system
        jr error
error_checksum:
        ld hl,msg_checksum
        jr error
error_break:
        ld hl,msg_break
error:
        ld sp,STACK_TOP
        ei
        call fresh_line
        call print_string
        call new_line
        call error_beep
        jp monitor

msg_command:    DEFB "What? Type HELP for commands",0
msg_number:     DEFB "Bad number",0
msg_missing:    DEFB "Missing value",0
msg_range:      DEFB "Value out of range",0
msg_extra:      DEFB "Extra input at end",0
msg_name:       DEFB "Name: 1-10 chars in quotes",0
msg_quote:      DEFB "Missing closing quote",0
msg_system:     DEFB "System area 4000-4FFF",0
msg_checksum:   DEFB "checksum error",0
msg_break:      DEFB "Break",0

; HELP and ?
cmd_help:
        call need_end
        ld hl,help_text
        jp print_string

help_text:
        DEFB "Numbers are hex. Commands:",13
        DEFB "D [addr [len]]   show memory",13
        DEFB "E addr xx \"text\" change memory",13
        DEFB "F addr len xx    fill",13
        DEFB "C from to len    copy",13
        DEFB "G addr           run code",13
        DEFB "I port           read port",13
        DEFB "O port xx        write port",13
        DEFB "B [hz [ms]]      beep, decimal",13
        DEFB "S \"name\" addr len [run]",13
        DEFB "                 save to tape",13
        DEFB "L [\"name\"]       load from tape",13
        DEFB "CLS              clear screen",13
        DEFB "BASIC            enter BASIC",13
        DEFB "Keys: Ctrl+C break, Ctrl+H del",13
        DEFB "Ctrl+5678 cursor, Ctrl+L clear",13
        DEFB 0

; CLS
cmd_cls:
        call need_end
        jp clear_screen
