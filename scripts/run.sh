#!/usr/bin/env bash
# Builds a Release binary, installs it into its own folder and starts it there.
# The data file Cofferly.Dat lives beside the installed program, so a rebuild or a
# clean of the source tree never touches it.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
prefix=${COFFERLY_PREFIX:-$HOME/.local/opt/cofferly}

"$here/scripts/setup.sh" run
cmake -S "$here" -B "$here/build/release" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
cmake --build "$here/build/release"
cmake --install "$here/build/release" --prefix "$prefix"
# The program starts only in a folder no one else may write; the passwords in it are
# nobody else's to read either.
chmod 700 "$prefix"

# Put the menu entry installed beside the program into the user's applications menu.
apps=${XDG_DATA_HOME:-$HOME/.local/share}/applications
mkdir -p "$apps"
ln -sfn "$prefix/share/applications/cofferly.desktop" "$apps/cofferly.desktop"

exec "$prefix/cofferly"
