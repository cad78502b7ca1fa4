#!/usr/bin/env bash
# Self-test of the layer check on a small made-up tree: a clean tree passes;
# a terrain file including a frontend header, a platform library header
# outside platform/, and a stale allowlist entry each fail it; an allowlisted
# upward include passes.
set -uo pipefail
check=$(cd "$(dirname "$0")" && pwd)/check_layers.sh
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
mkdir -p "$tree"/{platform,core,terrain,frontend/screens,net/udp,app,tools}
echo '#include <SDL.h>' > "$tree/platform/system.cpp"
echo '#include "platform/system.h"' > "$tree/core/services.cpp"
echo '#include "net/udp/packet.h"' > "$tree/terrain/minimap.h"
echo '#include "terrain/minimap.h"' > "$tree/frontend/screens/menu.cpp"
echo '#include "frontend/screens/menu.h"' > "$tree/app/main_loop.cpp"
: > "$tree/tools/layer_allowlist.txt"

fails=0
expect() {  # expect pass|fail WHAT
    local want=$1 what=$2 got=pass
    bash "$check" "$tree" >"$tree/out" 2>&1 || got=fail
    if [ "$got" != "$want" ]; then
        echo "FAILED: $what: the check should $want"
        cat "$tree/out"
        fails=1
    fi
}
expect pass "a tree whose includes point down"
echo '#include "frontend/screens/console.h"' > "$tree/terrain/pack.cpp"
expect fail "terrain including a frontend header"
grep -q 'terrain/pack.cpp:1: includes frontend/screens/console.h' "$tree/out" || { echo "FAILED: no file and line named"; fails=1; }
echo 'terrain/pack.cpp -> frontend/screens/console.h  # test entry' > "$tree/tools/layer_allowlist.txt"
expect pass "the same include on the allowlist"
rm "$tree/terrain/pack.cpp"
expect fail "an allowlist entry that no longer happens"
: > "$tree/tools/layer_allowlist.txt"
echo '#include <GL/gl.h>' > "$tree/core/draw.cpp"
expect fail "an OpenGL header outside platform/"
rm "$tree/core/draw.cpp"
echo '#include <sys/socket.h>' > "$tree/net/udp/udp.cpp"
expect fail "a socket header in the transport layer"
exit $fails
