#!/usr/bin/env bash
# Takes the README's screenshots into docs/screenshots/: the main window with an entry shown,
# the same window in edit mode (Alt+E), its title list open, and the sort window (Alt+S).
# The program runs under Xvfb with the openbox window manager, from a folder of its own
# holding sample entries; nothing of the user's is read or written.
# `screenshots.sh windows` takes Cofferly.exe under Wine instead (after scripts/windows.sh):
# the main window, a message box and a text box's context menu, as windows-main-window.png,
# windows-message-box.png and windows-context-menu.png.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/scripts/lib.sh"
out=$here/docs/screenshots
windows=
[ "${1:-}" = windows ] && windows=1

if [ -n "$windows" ]; then
  build=$here/build/windows
  program=(wine Cofferly.exe)
  cache=${COFFERLY_CACHE:-/var/cache/cofferly}
  export WINEPREFIX="$cache/wineprefix" WINEDEBUG=-all
  # Windows refuses a folder under a sticky one like /tmp.
  work=$(mktemp -d "$cache/wine-tests/screenshots.XXXXXX")
else
  build=${COFFERLY_BUILD:-$here/build/release}
  program=(./cofferly)
  "$here/scripts/setup.sh" test
  cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
  cmake --build "$build" >/dev/null
  work=$(mktemp -d)
fi
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  stop_x
  rm -rf "$work"
}
trap cleanup EXIT

# Sample entries: group headings, ordinary entries under them, Japanese and Latin titles.
cp "$build/${program[-1]#./}" "$work/"
entries=(
  "■ 銀行・証券" "" "" ""
  "ネットバンク" "taro.yamada" "Ab3d-9Kp2-xQ7w" "https://www.example-bank.co.jp/login/"
  "ネット証券" "80012345" "Sec-4821-Lm0p" "https://trade.example-sec.jp/"
  "■ ショッピング" "" "" ""
  "通販サイト" "taro@example.ne.jp" "Shop-7731-Qz" "https://shop.example.jp/mypage/"
  "Online Books" "yamada.taro" "Bk2-Rt5y" "https://books.example.com/signin"
  "■ 仕事" "" "" ""
  "社内ポータル" "t-yamada" "Work-0420-Xn" "https://portal.example.com/"
)
{
  printf '1500,3000\r\n'
  printf '"%s"\r\n' "${entries[@]}"
} | iconv -f UTF-8 -t CP932 >"$work/Cofferly.Dat"
chmod 0600 "$work/Cofferly.Dat"

start_xvfb "$work" 1024x768x24
export LC_ALL=C.UTF-8 XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 0700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM
start_openbox "$work"

(cd "$work" && exec "${program[@]}") &
pids+=($!)
main=$(xdotool search --sync --onlyvisible --name 'ｺﾌｧﾘｰ' | head -1)
xdotool windowactivate --sync "$main"
sleep 0.5

# The window with the frame the window manager gave it.
shoot() {
  mkdir -p "$out"
  import -window "$1" -frame "$out/$2.png"
  echo "docs/screenshots/$2.png"
}

# Browsing: show the second entry, an ordinary one.
xdotool key --clearmodifiers Down
sleep 0.5
if [ -n "$windows" ]; then
  shoot "$main" windows-main-window
  # A message box: the question before a delete, answered いいえ.
  xdotool key --clearmodifiers alt+d
  box=$(xdotool search --sync --onlyvisible --name '削除の確認' | head -1)
  sleep 0.7
  shoot "$box" windows-message-box
  xdotool key --clearmodifiers Return
  sleep 0.5
  # A text box's right-click menu, in Qt's Japanese: edit mode, the menu key in the title box.
  xdotool key --clearmodifiers alt+e
  sleep 0.7
  xdotool key --clearmodifiers Menu
  sleep 0.7
  import -window root "$work/screen.png"
  convert "$work/screen.png" -trim +repage "$out/windows-context-menu.png"
  echo "docs/screenshots/windows-context-menu.png"
  xdotool key --clearmodifiers Escape Escape
  exit 0
fi
shoot "$main" main-window

# The title list, open: the headings stand out, the entries under them are indented.
xdotool key --clearmodifiers alt+Down
sleep 0.7
# The list is a window of its own over the main one: take the screen and trim the empty
# background away.
import -window root "$work/screen.png"
convert "$work/screen.png" -trim +repage "$out/title-list.png"
echo "docs/screenshots/title-list.png"
xdotool key --clearmodifiers Escape
sleep 0.3

# Edit mode, for the entry shown.
xdotool key --clearmodifiers alt+e
sleep 0.7
shoot "$main" edit-mode
xdotool key --clearmodifiers Escape
sleep 0.5

# The sort window.
xdotool key --clearmodifiers alt+s
sort=$(xdotool search --sync --onlyvisible --name 'データの並べ替え' | head -1)
sleep 0.7
shoot "$sort" sort-window
xdotool key --clearmodifiers Escape
sleep 0.3
