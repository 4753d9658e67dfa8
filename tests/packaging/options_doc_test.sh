#!/usr/bin/env bash
# Every option that `inkmark --help` names is in the manual page and in the
# shell completion, and every picture extension it names is completed.
set -u
bin=$1 src=$2
help=$("$bin/inkmark" --help) || { echo "inkmark --help failed"; exit 1; }
man=$(sed 's/\\-/-/g' "$src/packaging/man/inkmark.1")
completion=$(cat "$src/packaging/inkmark.bash-completion")
status=0
# "--option=VALUE" describes the form of every option; it is no option itself.
for option in $(grep -oE -- '(^|[ ,])--?[a-z][a-z-]*' <<<"$help" | tr -d ' ,' | sort -u); do
  [ "$option" = --option ] && continue
  grep -qE -- "(^|[^a-z-])$option([^a-z-]|\$)" <<<"$man" ||
    { echo "the manual page lacks $option"; status=1; }
  grep -qE -- "(^|[^a-z-])$option([^a-z-]|\$)" <<<"$completion" ||
    { echo "the completion lacks $option"; status=1; }
done
# "SOURCE is a picture (.BMP, .RLE, ...) or a logo document (.QLF)".
for ext in $(grep -oE '\.[A-Z]{3}\b' <<<"$(grep -A1 '^SOURCE is' <<<"$help")" | sort -u); do
  glob=$(sed 's/\.//; s/./[\L&\U&]/g' <<<"$ext")
  grep -qF -- "$glob" <<<"$completion" || { echo "the completion does not offer $ext files"; status=1; }
  grep -qF -- "${ext#.}" <<<"$man" || { echo "the manual page does not name $ext"; status=1; }
done
exit $status
