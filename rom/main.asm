; The Vorn's system ROM: BASIC, the monitor, screen, keyboard, sound and tape.
; The machine starts in BASIC; its MON command enters the monitor.
; Assembled with pasmo --alocal: a label starting with _ belongs to the
; plain label before it. font.inc and keymap.inc are generated at build time.

        INCLUDE "sysvars.inc"
        INCLUDE "entries.inc"

        ORG 0000h
reset:
        di
        ld sp,STACK_TOP
        jp cold_start

        ORG 0008h
; RST 08h prints the character in A.
        jp print_char
; The end of the routines that keep every register.
pop_all:
        pop hl
        pop de
        pop bc
        pop af
        ret
        IF $ > 0010h
        .ERROR pop_all runs into RST 10h
        ENDIF

        ORG 0010h
; RST 10h waits for a key and returns it in A.
        jp get_key

        ORG 0018h
; RST 18h is BASIC's syntax check: the byte after the RST must come next in
; the program text at HL, which moves past it; else Syntax error.
        jp expect_byte

        ORG 0020h
; RST 20h reads a hex number that must be there into DE (HL walks the
; command line, as in parse.asm).
need_hex:
        call parse_hex
        ret nc
        jp error_missing

        ORG 0028h
; RST 28h: the command line must have nothing more.
need_end:
        call skip_spaces
        ret z
        jp error_extra

        ORG 0030h
; RST 30h ends the command with the zero-terminated message that follows
; the RST. error does the same for the message at HL.
error_inline:
        pop hl
error:
        ld sp,STACK_TOP
        ei
        jp error_report
        IF $ > 0038h
        .ERROR RST 30h runs into the interrupt
        ENDIF

        ORG 0038h
; The frame interrupt (interrupt mode 1): counts frames in 32 bits and
; scans the keys.
interrupt:
        push af
        push bc
        push de
        push hl
        ld hl,(frames)
        inc hl
        ld (frames),hl
        ld a,h
        or l
        jr nz,_counted
        ld hl,(frames_high)     ; the low word wrapped round
        inc hl
        ld (frames_high),hl
_counted:
        call key_scan
        pop hl
        pop de
        pop bc
        pop af
        ei
        reti

print_space:
        push af
        ld a,' '
        rst 08h
        pop af
        ret
        IF $ > ROM_PRINT_CHAR
        .ERROR print_space runs into the entry points
        ENDIF

; Entry points for programs, at the fixed addresses of entries.inc.
        ORG ROM_PRINT_CHAR
        jp print_char
        ORG ROM_PRINT_STRING
        jp print_string
        ORG ROM_GET_KEY
        jp get_key
        ORG ROM_KEY_POLL
        jp key_poll
        ORG ROM_CLEAR_SCREEN
        jp clear_screen
        ORG ROM_SET_CURSOR
        jp set_cursor
        ORG ROM_BEEP
        jp beep
        ORG ROM_PRINT_HEX8
        jp print_hex8
        ORG ROM_PRINT_HEX16
        jp print_hex16
        ORG ROM_MONITOR
        jp monitor

cold_start:
        ld hl,SYSTEM_START      ; the system's variables start at zero
        ld de,SYSTEM_START+1
        ld bc,SYSVARS_END-SYSTEM_START-1
        ld (hl),0
        ldir
        ld a,NO_KEY
        ld (repeat_index),a
        call clear_screen
        im 1
        ei
        jp basic_start

; The monitor's greeting, shown when MON leaves BASIC for it.
monitor_banner:
        DEFB "VORN 48K  system monitor 1.0",13
        DEFB "Type HELP for the commands",13,0

        INCLUDE "screen.asm"
        INCLUDE "keyboard.asm"
        INCLUDE "editor.asm"
        INCLUDE "parse.asm"
        INCLUDE "monitor.asm"
        INCLUDE "commands.asm"
        INCLUDE "tape_commands.asm"
        INCLUDE "tape.asm"
        INCLUDE "sound.asm"
        INCLUDE "arith.asm"
        INCLUDE "basic_errors.asm"
        INCLUDE "fp_core.asm"
        INCLUDE "fp_convert.asm"
        INCLUDE "fp_arith.asm"
        INCLUDE "fp_text.asm"
        INCLUDE "fp_functions.asm"
        INCLUDE "graphics.asm"
        INCLUDE "basic_run.asm"
        INCLUDE "basic_tokens.asm"
        INCLUDE "basic_program.asm"
        INCLUDE "basic_control.asm"
        INCLUDE "basic_expr.asm"
        INCLUDE "basic_vars.asm"
        INCLUDE "basic_print.asm"
        INCLUDE "basic_strings.asm"
        INCLUDE "basic_input.asm"
        INCLUDE "basic_functions.asm"
        INCLUDE "basic_machine.asm"
        INCLUDE "basic_tape.asm"
        INCLUDE "keymap.inc"

font:
        INCLUDE "font.inc"

        IF $ > 4000h
        .ERROR The ROM is larger than 16 KiB
        ENDIF
        DEFS 4000h-$,0FFh
