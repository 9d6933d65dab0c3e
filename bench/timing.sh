# Shared by the comparison scripts: source it.

# Microseconds that one run of the command takes (bash's own clock: no
# process is started to read it).
microseconds() {
    local start end
    start=${EPOCHREALTIME/[.,]/}
    "$@" >/dev/null 2>&1 || true
    end=${EPOCHREALTIME/[.,]/}
    echo $((end - start))
}

# Best and median of microsecond counts (one a line), in milliseconds.
summary() {
    sort -n | awk '{ v[NR] = $1 } END { printf "%.2f %.2f\n", v[1] / 1000, v[int((NR + 1) / 2)] / 1000 }'
}
