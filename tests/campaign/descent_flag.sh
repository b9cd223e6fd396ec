#!/bin/sh
# tessarc-campaign's descent flag: a word that names neither profile stops the
# campaign before it flies anything (status 2, the word named); either profile is
# taken, and the run goes on to make its output folder (here one that cannot be).
campaign=$1
out=$("$campaign" --descent sideways --out /dev/null/none 2>&1)
rc=$?
[ "$rc" -eq 2 ] || { echo "an unknown profile gave status $rc: $out"; exit 1; }
case $out in *'"sideways"'*) ;; *) echo "the complaint does not name the word: $out"; exit 1 ;; esac
for profile in specified efficient; do
    out=$("$campaign" --descent $profile --out /dev/null/none 2>&1)
    rc=$?
    [ "$rc" -eq 1 ] || { echo "--descent $profile gave status $rc: $out"; exit 1; }
    case $out in *'output folder'*) ;; *) echo "--descent $profile: $out"; exit 1 ;; esac
done
