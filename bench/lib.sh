# What the benchmark scripts share: the data sets and the timing. Sourced by
# the scripts, not run.

make_set() {  # folder count bytes: COUNT text files of BYTES bytes each
    python3 - "$@" <<'PY'
import os, sys
folder, count, size = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
os.makedirs(folder)
line = b"the quick brown fox jumps over the lazy dog 0123456789\n"
for i in range(count):
    body = (f"file {i:06d}\n".encode() + line * (size // len(line) + 1))[:size]
    with open(os.path.join(folder, f"f{i:06d}.txt"), "wb") as f:
        f.write(body)
PY
}

seconds() {  # command...; prints elapsed seconds
    local start end
    start=$(date +%s.%N)
    "$@" >/dev/null || { echo "failed: $*" >&2; return 1; }
    end=$(date +%s.%N)
    python3 -c "print(f'{$end - $start:.3f}')"
}

median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
