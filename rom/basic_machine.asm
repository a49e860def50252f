; BASIC's reach into the machine: POKE and PEEK, CALL and USR for machine
; code, which returns to BASIC with RET.

; POKE address, byte: refuses the system's area (4000h-4FFFh), where the
; screen's, keyboard's and BASIC's own variables and the stack live.
stmt_poke:
        call eval_word
        push de
        rst 18h
        DEFB ','
        call eval_byte
        pop de
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
