"""Counts the pixels of the given colours (rrggbb) in a binary PPM image on stdin."""
import sys

data = sys.stdin.buffer.read()
fields = []
pos = 0
while len(fields) < 4:  # magic, width, height, maximum
    while data[pos:pos + 1].isspace():
        pos += 1
    if data[pos:pos + 1] == b"#":
        pos = data.index(b"\n", pos)
        continue
    end = pos
    while not data[end:end + 1].isspace():
        end += 1
    fields.append(data[pos:end])
    pos = end
if fields[0] != b"P6" or fields[3] != b"255":
    sys.exit("an 8-bit binary PPM is expected")
pixels = data[pos + 1:]
wanted = {bytes.fromhex(colour) for colour in sys.argv[1:]}
print(sum(1 for i in range(0, len(pixels) - 2, 3) if pixels[i:i + 3] in wanted))
