#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# The Markdown pages point where they say: every relative link reaches a file
# and, with a #part, a heading of it (slugged as GitHub does), and every
# repository path named in backticks exists. Pages drift from the folders as
# code moves; this makes the drift a failing test.
#
#   tests/docs/links_check.py SOURCE-DIR
import functools
import glob
import os
import re
import sys

root = sys.argv[1]
pages = ["README.md", "CONTRIBUTING.md"] + sorted(glob.glob("docs/*.md", root_dir=root))


@functools.lru_cache(maxsize=None)
def anchors(path):
    text = re.sub(r"```.*?```", "", open(path, encoding="utf-8").read(), flags=re.S)
    seen, found = {}, set()
    for heading in re.findall(r"^#{1,6}\s+(.*?)\s*$", text, flags=re.M):
        heading = re.sub(r"\[([^\]]*)\]\([^)]*\)", r"\1", heading).lower()
        slug = "".join(c for c in heading if c.isalnum() or c in " -_").replace(" ", "-")
        count = seen.get(slug, 0)
        seen[slug] = count + 1
        found.add(slug if count == 0 else f"{slug}-{count}")
    return found


problems = []
for page in pages:
    full = os.path.join(root, page)
    for number, line in enumerate(open(full, encoding="utf-8"), 1):
        where = f"{page}:{number}"
        for target in re.findall(r"\]\(([^)\s]+)\)", line):
            if re.match(r"[a-z]+:", target):
                continue
            path, _, anchor = target.partition("#")
            dest = os.path.normpath(os.path.join(os.path.dirname(full), path)) if path else full
            if not os.path.exists(dest):
                problems.append(f"{where}: {target} leads nowhere")
            elif anchor and anchor not in anchors(dest):
                problems.append(f"{where}: {target}: no such heading")
        for name in re.findall(r"`((?:src|tests|bench|fuzz|scripts|data|docs|cmake)/[^`\s]*)`", line):
            if not glob.glob(os.path.join(root, name)):
                problems.append(f"{where}: `{name}` is not in the repository")

print("\n".join(problems) or f"ok: the links and paths of {len(pages)} pages")
sys.exit(1 if problems else 0)
