# Sourced by the tests that run the Windows program under wine64: a cached
# prefix made under a Japanese locale (so the ANSI code page is 932), Wine
# drawing its own window frames, and an ALSA null device so that graphs can
# render and run without a sound card.
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/panel.sh"

cache=${SOLVANE_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/solvane}
export LOCPATH=$cache/locale
export WINEPREFIX=$cache/wine64
export WINEDEBUG=-all
export XDG_CONFIG_HOME=$cache/config

wine() {
  LC_ALL=ja_JP.UTF-8 /usr/lib/wine/wine64 "$@"
}

ensure_prefix() {
  mkdir -p "$cache"
  exec 9>"$cache/prefix.lock"
  flock 9
  if [ ! -e "$LOCPATH/ja_JP.UTF-8/LC_CTYPE" ]; then
    mkdir -p "$LOCPATH"
    localedef -i ja_JP -f UTF-8 "$LOCPATH/ja_JP.UTF-8" >/dev/null 2>&1 || true
  fi
  mkdir -p "$XDG_CONFIG_HOME/alsa"
  echo 'pcm.!default { type null }' >"$XDG_CONFIG_HOME/alsa/asoundrc"
  if [ ! -e "$WINEPREFIX/.solvane-ready" ]; then
    rm -rf "$WINEPREFIX"
    wine wineboot -i >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    /usr/lib/wine/wineserver -w
    touch "$WINEPREFIX/.solvane-ready"
  fi
  flock -u 9
  trap '/usr/lib/wine/wineserver -k 2>/dev/null || true' EXIT
}
