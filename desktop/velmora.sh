#!/bin/sh
# Starts an installed Velmora in the player's own application folder.
#
# The game keeps every file it reads and writes below the folder it starts in. An installed copy
# therefore starts in "${XDG_DATA_HOME:-$HOME/.local/share}/velmora", which gets a link to each
# of the installed data folders (patterns, skins, DATA with the starter puzzles) the first time,
# and again whenever the installation gains one; the player's puzzles, settings and log stay there
# and nothing is ever written below the installation. A puzzle file named on the command line is
# passed on by its full path, since the game starts elsewhere.
set -eu

here=$(dirname "$(readlink -f "$0")")
data="$here/@VELMORA_LAUNCHER_TO_DATA@"
game="$here/@VELMORA_LAUNCHER_TO_GAME@"
folder="${XDG_DATA_HOME:-${HOME:?}/.local/share}/velmora"

if [ ! -x "$game" ] || [ ! -d "$data" ]; then
    echo "velmora: the installation is incomplete ($game, $data)" >&2
    exit 1
fi
data=$(cd "$data" && pwd -P)
mkdir -p "$folder"

# A link of ours is renewed (the installation may have moved); a folder or file of the player's
# own with the same name is left alone.
for entry in "$data"/*; do
    [ -e "$entry" ] || continue
    link="$folder/$(basename "$entry")"
    if [ -L "$link" ] || [ ! -e "$link" ]; then
        ln -sfn "$entry" "$link"
    fi
done

if [ $# -gt 0 ]; then
    first=$1
    shift
    case "$first" in
        /*|-*) ;;
        *) [ -e "$first" ] && first="$(pwd)/$first" ;;
    esac
    set -- "$first" "$@"
fi

cd "$folder"
exec "$game" "$@"
