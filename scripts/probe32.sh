#!/usr/bin/env bash
# Exits 0 when this machine can run 32-bit x86 programs (the kernel's 32-bit emulation is there),
# 1 when it cannot. Assembles and starts a tiny 32-bit program that exits with 42.
set -u
set -o pipefail
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
printf '.globl _start\n_start:\n movl $1, %%eax\n movl $42, %%ebx\n int $0x80\n' > "$dir/p.s"
as --32 -o "$dir/p.o" "$dir/p.s" 2>/dev/null && ld -m elf_i386 -o "$dir/p" "$dir/p.o" 2>/dev/null || exit 1
"$dir/p" 2>/dev/null
[ $? -eq 42 ]
