# Sourced by tools/test: zq_runs_i386 is true when this machine runs 32-bit (i386) Linux
# programs, tried with a three-instruction program assembled here (binutils only).
zq_runs_i386() {
  if [ -z "${zq_i386_answer:-}" ]; then
    local dir
    dir=$(mktemp -d)
    printf '.globl _start\n_start:\n movl $1, %%eax\n xorl %%ebx, %%ebx\n int $0x80\n' > "$dir/exit.s"
    if as --32 "$dir/exit.s" -o "$dir/exit.o" 2>/dev/null && ld -m elf_i386 "$dir/exit.o" -o "$dir/exit" 2>/dev/null &&
      "$dir/exit" 2>/dev/null; then
      zq_i386_answer=yes
    else
      zq_i386_answer=no
    fi
    rm -rf "$dir"
  fi
  [ "$zq_i386_answer" = yes ]
}
