#!/usr/bin/env bash
# The Windows download: written into a folder of its own, it holds exactly the shipped program,
# byte for byte, and the read-me; its name carries the version that the program's version
# resource carries. The program stays within 1 MiB, its sections page-aligned in the file.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

bash "$root/scripts/dist.sh" "$out" || fail "dist.sh failed"
zips=("$out"/tivolu-*.zip)
[ ${#zips[@]} = 1 ] && [ -f "${zips[0]}" ] || { echo "FAIL: no single zip written"; exit 1; }
zip=${zips[0]}
name_version=$(basename "$zip" .zip); name_version=${name_version#tivolu-}
echo "zip: $(basename "$zip")"

python3 - "$zip" "$root/build/tivolu.exe" "$name_version" <<'PY' || failures=$((failures + 1))
import struct, sys, zipfile
zip_path, shipped_path, version = sys.argv[1:]
problems = []
with zipfile.ZipFile(zip_path) as z:
    names = sorted(z.namelist())
    print("listing:", ", ".join(f"{i.filename} ({i.file_size} bytes)" for i in z.infolist()))
    if names != ["readme.txt", "tivolu.exe"]:
        problems.append(f"the zip holds {names}")
    exe = z.read("tivolu.exe") if "tivolu.exe" in names else b""
    readme = z.read("readme.txt") if "readme.txt" in names else b""
if exe != open(shipped_path, "rb").read():
    problems.append("tivolu.exe differs from build/tivolu.exe")
if exe[:2] != b"MZ" or struct.unpack_from("<H", exe, struct.unpack_from("<I", exe, 0x3C)[0] + 24)[0] != 0x10B:
    problems.append("tivolu.exe is not a 32-bit program")
if len(exe) > 1 << 20:
    problems.append(f"tivolu.exe is {len(exe)} bytes, over 1 MiB")
# Sections page-aligned in the file, as in memory: Wine maps them instead of copying them.
if exe[:2] == b"MZ" and struct.unpack_from("<I", exe, struct.unpack_from("<I", exe, 0x3C)[0] + 24 + 36)[0] != 0x1000:
    problems.append("tivolu.exe's sections are not page-aligned in the file")
# The fixed part of the version resource starts with its signature 0xFEEF04BD.
at = exe.find(struct.pack("<I", 0xFEEF04BD))
if at < 0:
    problems.append("no version resource")
else:
    file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<4I", exe, at + 8)
    for label, ms, ls in (("file", file_ms, file_ls), ("product", product_ms, product_ls)):
        got = f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}"
        if got != version or ls & 0xFFFF:
            problems.append(f"{label} version {got}.{ls & 0xFFFF} in the resource, {version} in the name")
    if ("ProductVersion\0" + version + "\0").encode("utf-16-le") not in exe:
        problems.append(f"the version strings do not say {version}")
if not readme.startswith(b"\xef\xbb\xbf"):
    problems.append("readme.txt has no UTF-8 byte-order mark")
text = readme[3:].decode("utf-8", "replace")
if "\n" in text.replace("\r\n", ""):
    problems.append("readme.txt has lines not ended by CRLF")
for needed in ("tivolu.ini", "%APPDATA%", "終了する(&X)", "設定ウィンドウ", "Where the settings live", version):
    if needed not in text:
        problems.append(f"readme.txt does not mention {needed}")
for p in problems:
    print("FAIL:", p)
sys.exit(1 if problems else 0)
PY
[ $failures = 0 ] && echo "the download is complete"
[ $failures = 0 ]
