# Shared settings for the project's scripts: where caches and the Wine prefix live.
# Sourced, not run.
SCRIVANE_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
SCRIVANE_CACHE="${SCRIVANE_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/scrivane}"
export SCRIVANE_ROOT SCRIVANE_CACHE
export WINEPREFIX="${SCRIVANE_WINEPREFIX:-$SCRIVANE_CACHE/wineprefix}"
export WINEARCH=win64
export WINEDEBUG="${WINEDEBUG:--all}"
# No install prompts for Wine's optional HTML engine or .NET runtime.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree=;mshtml=}"
# Our users run code page 936.
export LANG=zh_CN.UTF-8
export LC_ALL=zh_CN.UTF-8
JPEG_PREFIX="$SCRIVANE_CACHE/libjpeg-turbo-mingw"
export JPEG_PREFIX
DEFLATE_PREFIX="$SCRIVANE_CACHE/libdeflate-mingw"
export DEFLATE_PREFIX
