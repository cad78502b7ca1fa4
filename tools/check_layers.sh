#!/usr/bin/env bash
# Layer check: every #include of the game folders points to its own layer or
# a lower one, and only platform/ includes the system libraries it wraps.
#   tools/check_layers.sh [-v] [SOURCE_DIR]
# Layers, bottom to top:
#   platform, core, transport (net/udp/, net/socket/), terrain, world,
#   scripting, match, net (the rest of net/), frontend, app
# An upward include fails unless it is listed in tools/layer_allowlist.txt
# ("FILE -> HEADER  # reason"); a listed include that is gone fails too, so the
# list can only shrink. -v prints, per folder, every include of a higher layer.
set -euo pipefail

verbose=0
if [ "${1:-}" = "-v" ]; then
    verbose=1
    shift
fi
root=${1:-$(dirname "$0")/..}
cd "$root"
allowlist=tools/layer_allowlist.txt

dirs=()
for d in platform core terrain world scripting match net frontend app; do
    [ -d "$d" ] && dirs+=("$d")
done
files=""
[ ${#dirs[@]} -gt 0 ] && files=$(find "${dirs[@]}" -name '*.cpp' -o -name '*.h' | LC_ALL=C sort)
[ -n "$files" ] || { echo "check_layers: no game sources under $root" >&2; exit 1; }

# shellcheck disable=SC2086
awk -v verbose="$verbose" -v allowlist="$allowlist" '
function layer(path,    top) {
    if (path ~ /^net\/(udp|socket)\//) return 2
    top = path
    sub(/\/.*/, "", top)
    return (top in rank) ? rank[top] : -1
}
function folder(path,    d) {
    d = path
    sub(/\/[^\/]*$/, "", d)
    return d
}
BEGIN {
    split("platform core transport terrain world scripting match net frontend app", names, " ")
    for (i = 1; i <= 10; i++) { rank[names[i]] = i - 1; label[i - 1] = names[i] }
    # The platform layer alone talks to these libraries.
    syslib = "^(SDL|SDL2/|GL/|GLES|AL/|EGL/|sys/socket\\.h|netinet/|arpa/|netdb\\.h|png\\.h|pngconf\\.h|jpeglib\\.h|jerror\\.h|turbojpeg\\.h|ft2build\\.h|freetype|vorbis/|ogg/)"
    while ((getline line < allowlist) > 0) {
        sub(/#.*/, "", line)
        gsub(/[ \t]+/, " ", line)
        sub(/^ /, "", line); sub(/ $/, "", line)
        if (line == "") continue
        split(line, part, " -> ")
        allowed[part[1] " -> " part[2]] = 1
    }
    failed = 0
}
/^[ \t]*#[ \t]*include[ \t]*[<"]/ {
    file = FILENAME
    inc = $0
    sub(/^[ \t]*#[ \t]*include[ \t]*[<"]/, "", inc)
    sub(/[>"].*$/, "", inc)
    if (inc ~ syslib && layer(file) != 0) {
        printf "%s:%d: %s is a platform library header; only platform/ includes it\n", file, FNR, inc
        failed = 1
        next
    }
    if ($0 !~ /"/) next
    from = layer(file)
    to = layer(inc)
    if (to < 0) {
        if (inc ~ /^[a-z_]+\//) {
            printf "%s:%d: \"%s\" is in no game folder\n", file, FNR, inc
            failed = 1
        }
        next
    }
    if (to <= from) next
    key = file " -> " inc
    up[folder(file)] = up[folder(file)] sprintf("  %s (%s) -> %s (%s)%s\n", file, label[from], inc, label[to], (key in allowed) ? "  [allowlist]" : "")
    if (key in allowed) { used[key] = 1; next }
    printf "%s:%d: includes %s of layer %s from layer %s\n", file, FNR, inc, label[to], label[from]
    failed = 1
}
END {
    for (key in allowed)
        if (!(key in used)) {
            printf "%s: \"%s\" no longer happens; remove it from the list\n", allowlist, key
            failed = 1
        }
    if (verbose) {
        n = split("platform core net/udp net/socket terrain world scripting match net frontend frontend/editor frontend/hud frontend/screens frontend/widgets app", dirs, " ")
        for (i = 1; i <= n; i++) {
            d = dirs[i]
            printf "%s: %s\n", d, (d in up) ? "includes of higher layers:" : "no includes of higher layers"
            if (d in up) printf "%s", up[d]
        }
        for (d in up) {
            known = 0
            for (i = 1; i <= n; i++) if (dirs[i] == d) known = 1
            if (!known) printf "%s: includes of higher layers:\n%s", d, up[d]
        }
    }
    if (failed) { print "layer check failed (order: platform, core, transport, terrain, world, scripting, match, net, frontend, app)"; exit 1 }
    print "layer check passed"
}
' $files
