#!/usr/bin/python3
"""Mutants of C++ source files, for scripts/mutate.sh.

  mutants.py list SEED MAX FILE...   one mutant a line: file, line, column, from, to (tab-separated)
  mutants.py apply FILE LINE COLUMN FROM TO   rewrites FILE with that one change

The list is the same for the same files, seed and maximum, so that two runs (before and after a
change to the tests) judge the same mutants. Binary operators are recognised by the spaces around
them, which the formatter guarantees and template brackets never have.
"""
import random
import re
import sys

SWAPS = {
    "<": "<=", "<=": "<", ">": ">=", ">=": ">", "==": "!=", "!=": "==",
    "+": "-", "-": "+", "*": "/", "/": "*", "&&": "||", "||": "&&",
    "+=": "-=", "-=": "+=", "<<": ">>", ">>": "<<", "&": "|", "|": "&",
}
BINARY = re.compile(r"(?<=\s)(<<|>>|<=|>=|==|!=|&&|\|\||\+=|-=|[<>+\-*/&|])(?=\s)")
INTEGER = re.compile(r"(?<![\w.])\d+(?![\w.'])")
DECIMAL = re.compile(r"(?<![\w.])\d+\.\d+(?=f?(?![\w.]))")
BOOLEAN = re.compile(r"\b(true|false)\b")
NOT = re.compile(r"(?<![\w)\]])!(?!=)")
# Statements whose removal is no mutant but a build failure: declarations and jumps.
NOT_DELETABLE = re.compile(
    r"^(return|break|continue|case|default|using|typedef|template|namespace|static_assert|"
    r"const|constexpr|inline|static|auto|extern|friend|public|private|protected)\b"
    r"|^[A-Za-z_][\w:<>,]*\s+[*&]*(__restrict\s+)?[A-Za-z_]\w*\s*(=|;|,|\(|\[|\{)"
    r"|^~|=\s*(delete|default);$")


def masked_lines(text):
    """The lines of text with comments, strings and character literals blanked out."""
    out, i, n = [], 0, len(text)
    state = None
    while i < n:
        c = text[i]
        if state is None:
            if text.startswith("//", i):
                state = "line"
            elif text.startswith("/*", i):
                state = "block"
            elif c in "\"'":
                state = c
                out.append(c)
                i += 1
                continue
        if state is None or c == "\n":
            out.append(c)
        else:
            out.append(" ")
        if state == "line" and c == "\n":
            state = None
        elif state == "block" and text.startswith("*/", i):
            out.append(" ")
            i += 1
            state = None
        elif state in ("\"", "'") and c == "\\":
            out.append(" ")
            i += 1
        elif state in ("\"", "'") and c == state and out[-1] == " ":
            out[-1] = c
            state = None
        i += 1
    return "".join(out).split("\n")


def nudged(literal):
    """The decimal with its last digit one higher (or lower, for a 9)."""
    last = int(literal[-1])
    return literal[:-1] + str(last + 1 if last < 9 else last - 1)


def mutants_of(path):
    with open(path, encoding="utf-8") as f:
        text = f.read()
    raw, lines = text.split("\n"), masked_lines(text)
    found, previous = [], ";"
    for number, line in enumerate(lines, 1):
        code = line.strip()
        if not code or code.startswith("#"):
            continue
        for m in BINARY.finditer(line):
            found.append((path, number, m.start() + 1, m.group(), SWAPS[m.group()]))
        for m in INTEGER.finditer(line):
            value = int(m.group())
            found.append((path, number, m.start() + 1, m.group(), str(value + 1)))
            if value > 0:
                found.append((path, number, m.start() + 1, m.group(), str(value - 1)))
        for m in DECIMAL.finditer(line):
            found.append((path, number, m.start() + 1, m.group(), nudged(m.group())))
        for m in BOOLEAN.finditer(line):
            other = "false" if m.group() == "true" else "true"
            found.append((path, number, m.start() + 1, m.group(), other))
        for m in NOT.finditer(line):
            found.append((path, number, m.start() + 1, "!", ""))
        whole_statement = previous[-1] in ";{}" or re.match(r"(if|for|while|else)\b", previous)
        if (code.endswith(";") and whole_statement and not re.search(r"[{}]", code)
                and not NOT_DELETABLE.search(code)):
            start = line.index(code[0])
            found.append((path, number, start + 1, raw[number - 1][start:start + len(code)], ";"))
        previous = code
    return found


def apply(path, number, column, before, after):
    with open(path, encoding="utf-8") as f:
        lines = f.read().split("\n")
    line = lines[number - 1]
    start = column - 1
    if line[start:start + len(before)] != before:
        sys.exit(f"{path}:{number}:{column}: '{before}' not found; has the file changed?")
    lines[number - 1] = line[:start] + after + line[start + len(before):]
    with open(path, "w", encoding="utf-8") as f:
        f.write("\n".join(lines))


def main(args):
    if args[:1] == ["list"] and len(args) >= 4:
        seed, most = args[1], int(args[2])
        everything = sorted(m for path in sorted(set(args[3:])) for m in mutants_of(path))
        chosen = everything if most <= 0 or most >= len(everything) else sorted(
            random.Random(seed).sample(everything, most))
        print(f"{len(everything)} mutants, {len(chosen)} chosen", file=sys.stderr)
        for m in chosen:
            print("\t".join(str(part) for part in m))
    elif args[:1] == ["apply"] and len(args) == 6:
        apply(args[1], int(args[2]), int(args[3]), args[4], args[5])
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv[1:])
