# Where the Windows build keeps what it makes once: freeglut built for
# Windows and Wine's prefix. Source this file; it sets windows_cache.
windows_cache=${TANK_WINDOWS_CACHE:-/var/cache/tank-windows}
if ! mkdir -p "$windows_cache" 2>/dev/null || [ ! -w "$windows_cache" ]; then
    windows_cache="${XDG_CACHE_HOME:-$HOME/.cache}/tank-windows"
    mkdir -p "$windows_cache"
fi
