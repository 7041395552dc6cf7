#!/usr/bin/python3
"""Checks every Markdown file of the repository for the faults that parallel merges leave:
   - a code fence opened and never closed;
   - the same `## ` heading twice in one file;
   - a section whose last non-blank line introduces something (ends with ':') that never comes;
   - a command outside a code block (a line that starts as a shell command would).
Usage: tools/check_markdown.py [file.md ...]   (default: every *.md tracked or not, outside
build folders). Prints one line per fault, file:line: message, and exits 1 if there is any."""
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SKIP_DIRS = {".git", "out", "node_modules"}

# Lines that are commands, not prose: a path into the tree's tools or build folders, or one of
# the programs a reader types. A word followed by a space keeps "cmake's" or "ctest." prose apart.
COMMAND = re.compile(
    r"^\s*(\$ )?("
    r"(tools|build[\w.-]*|bench/cli|\.ci)/\S"
    r"|(sudo|cmake|ctest|ninja|kelochart|apt-get|python3|/usr/bin/python3|clang-format|strace"
    r"|valgrind|hyperfine|mkdir)\s+-?[\w./'\"-]"
    r")")
FENCE = re.compile(r"^\s*(```|~~~)")


def markdown_files():
    for top, dirs, files in os.walk(ROOT):
        dirs[:] = sorted(d for d in dirs if d not in SKIP_DIRS and not d.startswith("build"))
        for name in sorted(files):
            if name.endswith(".md"):
                yield os.path.join(top, name)


def check(path):
    faults = []
    with open(path, encoding="utf-8") as f:
        lines = f.read().split("\n")
    fence_open = None  # (marker, line number) of the open fence
    headings = {}
    last_text = None  # (line number, text) of the section's last non-blank line

    def end_section():
        if last_text and last_text[1].rstrip().endswith(":"):
            faults.append((last_text[0], "section ends on an introduction: " + last_text[1].strip()))

    for number, line in enumerate(lines, 1):
        fence = FENCE.match(line)
        if fence_open:
            if fence and line.strip().startswith(fence_open[0]) and line.strip() == fence_open[0]:
                fence_open = None
            last_text = (number, "```")
            continue
        if fence:
            fence_open = (fence.group(1), number)
            last_text = (number, line)
            continue
        if re.match(r"^#{1,2} ", line):
            end_section()
            last_text = None
            if line.startswith("## "):
                title = line[3:].strip()
                if title in headings:
                    faults.append((number, f"heading '{title}' repeats line {headings[title]}"))
                headings.setdefault(title, number)
            continue
        if line.startswith("#"):
            end_section()  # a ### subsection ends the text before it too
            last_text = None
            continue
        if line.strip():
            last_text = (number, line)
        if COMMAND.match(line) and not line.lstrip().startswith(("|", "-", "*")):
            faults.append((number, "command outside a code block: " + line.strip()))
    if fence_open:
        faults.append((fence_open[1], "code fence never closed"))
    end_section()
    return [f"{os.path.relpath(path, ROOT)}:{n}: {message}" for n, message in sorted(faults)]


def main(argv):
    paths = argv[1:] or list(markdown_files())
    faults = [fault for path in paths for fault in check(path)]
    for fault in faults:
        print(fault)
    print(f"markdown: {len(paths)} files, {len(faults)} faults", file=sys.stderr)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
