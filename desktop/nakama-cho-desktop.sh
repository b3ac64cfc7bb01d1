#!/bin/sh
# Started from the desktop menu: the program keeps its rosters in the folder
# it starts in, so it starts in the user's roster folder, ~/なかま帳 (or
# $NAKAMA_DATA), made on first use.
data="${NAKAMA_DATA:-$HOME/なかま帳}"
mkdir -p "$data" && cd "$data" || exit 1
exec "$(dirname "$(readlink -f "$0")")/nakama-cho" "$@"
