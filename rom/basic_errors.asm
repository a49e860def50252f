; BASIC's errors: each has a number, passed in A to basic_error, and a
; message. Routines that find an error jump to basic_error from however deep
; they are; it never returns.

ERR_SYNTAX      EQU 0
ERR_DIVISION    EQU 1
ERR_OVERFLOW    EQU 2
ERR_ARGUMENT    EQU 3
ERR_MEMORY      EQU 4
ERR_TYPE        EQU 5
ERR_SUBSCRIPT   EQU 6
ERR_UNDEFINED   EQU 7
ERR_NEXT        EQU 8
ERR_RETURN      EQU 9
ERR_DATA        EQU 10
ERR_LONG        EQU 11
ERR_COMPLEX     EQU 12
ERR_SYSTEM      EQU 13
ERR_BREAK       EQU 14
ERR_CONTINUE    EQU 15
ERR_DIMENSION   EQU 16
ERR_PROGRAM     EQU 17
ERR_DAMAGED     EQU 18

; The messages, in the order of their numbers.
error_messages:
        DEFB "Syntax error",0
        DEFB "Division by zero",0
        DEFB "Overflow",0
        DEFB "Bad argument",0
        DEFB "Out of memory",0
        DEFB "Type mismatch",0
        DEFB "Subscript out of range",0
        DEFB "Undefined line",0
        DEFB "NEXT without FOR",0
        DEFB "RETURN without GOSUB",0
        DEFB "Out of DATA",0
        DEFB "String too long",0
        DEFB "Expression too complex",0
        DEFB "System area",0
        DEFB "Break",0
        DEFB "Can't continue",0
        DEFB "Array already dimensioned",0
        DEFB "Bad program",0
        DEFB "Program damaged",0

; HL := the message of error A.
error_message:
        ld hl,error_messages
        or a
        ret z
        ld b,a
        xor a
_skip:
        push bc
        ld bc,0
        cpir                    ; past the next message's zero
        pop bc
        djnz _skip
        ret

; Error A: its message, the number of the line that was running, the error
; beep, and back to Ready with the program kept. A break (also STOP) leaves
; CONT able to go on from where it was; any other error in a program line
; ends that. A break also drops the keys typed ahead, the break key among
; them, which would otherwise abandon the next line typed.
basic_error:
        ld sp,STACK_TOP
        ei
        ld (err_code),a
        call error_message
; The same for the message at HL, the error in err_code (the monitor's tape
; errors during SAVE and LOAD come in here).
basic_error_text:
        xor a
        ld (eval_depth),a
        ld (tape_basic),a
        push hl
        call fresh_line
        pop hl
        call print_string
        ld a,(err_code)
        cp ERR_UNDEFINED
        jr nz,_named
        ld hl,(err_value)
        call print_space
        call print_uint
_named:
        ld a,(err_code)
        cp ERR_BREAK
        jr nz,_not_break
        xor a
        ld (break_flag),a
        ld a,(key_head)
        ld (key_tail),a
        jr _where
_not_break:
        ld hl,(cur_line)
        ld a,h
        or a
        jr z,_where
        ld hl,0
        ld (cont_ptr),hl
_where:
        ld hl,(cur_line)
        ld a,h
        or a
        jr z,_beep
        call print_inline
        DEFB " in ",0
        call print_line_number
_beep:
        call new_line
        call error_beep
        jp basic_ready
