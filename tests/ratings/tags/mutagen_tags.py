#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Rating tags written and read by another program's library (mutagen), the
# way other players keep them.
#   mutagen_tags.py write FILE KEY=VALUE...   POPM:email=byte, TXXX=fmps (ID3),
#                                             id3v3 (write ID3v2.3), or a
#                                             Vorbis / MP4 freeform key
#   mutagen_tags.py read FILE                 one line per rating tag, sorted
import sys

import mutagen
from mutagen.id3 import ID3, POPM, TXXX, ID3NoHeaderError
from mutagen.mp4 import MP4, MP4FreeForm


def write(path, items):
    if path.endswith(".mp3"):
        try:
            tags = ID3(path)
        except ID3NoHeaderError:
            tags = ID3()
        version = 4
        for item in items:
            key, _, value = item.partition("=")
            if key == "id3v3":
                version = 3
            elif key.startswith("POPM:"):
                tags.add(POPM(email=key[5:], rating=int(value), count=7))
            elif key == "TXXX":
                tags.add(TXXX(encoding=3, desc="FMPS_Rating", text=[value]))
            else:
                tags.add(TXXX(encoding=3, desc=key, text=[value]))
        tags.save(path, v2_version=version, v1=0)
        return
    audio = mutagen.File(path)
    if audio.tags is None:
        audio.add_tags()
    for item in items:
        key, _, value = item.partition("=")
        if isinstance(audio, MP4):
            audio.tags["----:com.apple.iTunes:" + key] = [MP4FreeForm(value.encode())]
        else:
            audio.tags[key] = [value]
    audio.save()


def read(path):
    lines = []
    if path.endswith(".mp3"):
        with open(path, "rb") as f:
            f.seek(-128, 2)
            lines.append("id3v1=%s" % (f.read(3) == b"TAG"))
        tags = ID3(path)
        lines.append("version=2.%d" % tags.version[1])
        for frame in tags.getall("POPM"):
            lines.append("POPM:%s=%d count %d" % (frame.email, frame.rating, frame.count))
        for frame in tags.getall("TXXX"):
            lines.append("TXXX:%s=%s" % (frame.desc, ",".join(frame.text)))
        for key in tags.keys():
            if not key.startswith(("POPM", "TXXX")):
                lines.append("%s=%s" % (key, tags[key]))
    else:
        audio = mutagen.File(path)
        for key, values in (audio.tags or {}).items():
            if isinstance(audio, MP4):
                values = [bytes(v).decode() if isinstance(v, MP4FreeForm) else str(v) for v in values]
            lines.append("%s=%s" % (key, ",".join(values)))
    print("\n".join(sorted(lines)))


if sys.argv[1] == "write":
    write(sys.argv[2], sys.argv[3:])
else:
    read(sys.argv[2])
