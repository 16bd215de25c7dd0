#!/usr/bin/env bash
# The interface in the other languages, on a real display: the system's language (LANGUAGE=zh_TW) gives Traditional
# Chinese, and the user's choice kept in the file (English) wins over it. Each run opens the settings window and a
# question from the keyboard and reads their titles; the pictures of both windows are the README's.
set -euo pipefail
program=$1
repo=$(cd "$(dirname "$0")/.." && pwd)
. "$repo/tests/e2e_common.sh"
need Xvfb xdotool sqlite3 import

work=$(mktemp -d)
trap 'kill ${app:-} ${xvfb:-} 2>/dev/null; rm -rf "$work"' EXIT
mkdir -p "$work/app"
cp "$program" "$work/app/korvane"
sqlite3 "$work/app/ad.mdb" <<'SQL'
create table AD (num text, subg text, SearchN text, Episode text, AnimeN text, Other text);
create table bt (nub text, btset text, urldata text, utf8 integer);
insert into bt values ('1', '极影', 'http://bt.example/search.php?keyword=', 0),
                      ('2', '动漫花园', 'https://share.example/topics/list?keyword=', 1);
create table mr as select * from bt;
create table xd as select * from bt where 0;
insert into AD values ('1', 'XYZ', '某作品', '8', '某作品', '备注'),
                      ('2', '澄空', 'Foo Bar', '9', 'Title Two', '');
SQL
start_display

# $1: the translation's name in the pictures; $2, $3: the titles of the settings window and of the question
# "确定要删除本条内容吗？".
run() {
    "$work/app/korvane" >>"$work/korvane.log" 2>&1 &
    app=$!
    local main settings
    main=$(xdotool search --sync --name '^Korvane 0.9 Final$' | tail -n 1)
    sleep 1
    click "$main" 250 480
    picture "$main" "main-window-$1"
    keys End Delete
    question=$(xdotool search --sync --name "^$3\$" | tail -n 1)
    click "$question" 10 10
    keys Escape
    [ "$(sqlite3 "$work/app/ad.mdb" 'select count(*) from AD')" = 2 ] || fail "Escape in the question deleted the entry"
    click "$main" 250 480
    keys shift+Tab space
    settings=$(xdotool search --sync --name "^$2\$" | tail -n 1)
    sleep 1
    click "$settings" 60 150
    keys Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab
    picture "$settings" "settings-window-$1"
    kill "$app"
    wait "$app" 2>/dev/null || true
}

LANGUAGE=zh_TW:zh run zh_TW 'BT網站設定' '刪除'
sqlite3 "$work/app/ad.mdb" "create table if not exists settings (name text primary key, value text);
                            insert or replace into settings values ('language', 'en')"
LANGUAGE=zh_TW:zh run en 'BT site settings' 'Delete'
echo "1 passed, 0 failed"
