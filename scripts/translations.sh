#!/usr/bin/env bash
# Brings the Qt Linguist catalogues translations/quavrix_<lang>.ts up to date with the
# tr() texts in the sources, then says per language which entries are new, unfinished or
# obsolete. Obsolete entries stay in the file (marked vanished) until a translator drops
# them, so a renamed text's old translation can still be copied.
#   scripts/translations.sh          every language that has a catalogue
#   scripts/translations.sh eo       also starts translations/quavrix_eo.ts
set -euo pipefail
cd "$(dirname "$0")/.."
lupdate=/usr/lib/qt6/bin/lupdate
[[ -x $lupdate ]] || lupdate=$(command -v lupdate6 || command -v lupdate || true)
[[ -n $lupdate ]] || { echo "translations: no lupdate; scripts/setup.sh build installs it" >&2; exit 1; }

langs=("$@")
for ts in translations/quavrix_*.ts; do
    [[ -e $ts ]] || continue
    lang=${ts#translations/quavrix_}; lang=${lang%.ts}
    [[ " ${langs[*]} " == *" $lang "* ]] || langs+=("$lang")
done
(( ${#langs[@]} )) || { echo "translations: no catalogue yet; name a language, e.g. $0 de" >&2; exit 1; }

# Prints one line per entry: state<TAB>context<TAB>source (comment)
entries() {
    [[ -e $1 ]] || return 0
    python3 - "$1" <<'PY'
import sys, xml.etree.ElementTree as ET
for ctx in ET.parse(sys.argv[1]).getroot().iter('context'):
    name = ctx.findtext('name')
    for m in ctx.iter('message'):
        t = m.find('translation')
        kind = t.get('type') if t is not None else None
        empty = t is None or not (t.text or '').strip() and not [n for n in t.iter('numerusform') if (n.text or '').strip()]
        state = {'vanished': 'obsolete', 'obsolete': 'obsolete', 'unfinished': 'unfinished'}.get(kind, 'empty' if empty else 'done')
        comment = m.findtext('comment')
        text = m.findtext('source').replace('\n', '\\n') + (f' ({comment})' if comment else '')
        print(f'{state}\t{name}\t{text}')
PY
}

for lang in "${langs[@]}"; do
    ts=translations/quavrix_$lang.ts
    before=$(entries "$ts" | cut -f2-)
    "$lupdate" -silent -locations relative -source-language en -target-language "$lang" \
        app ui library lib engine -ts "$ts"
    after=$(entries "$ts")
    new=$(comm -13 <(sort <<<"$before") <(cut -f2- <<<"$after" | sort) || true)
    echo "== $lang: $(grep -c . <<<"$new" || true) new, $(grep -cP '^(unfinished|empty)\t' <<<"$after" || true) unfinished, $(grep -cP '^obsolete\t' <<<"$after" || true) obsolete"
    [[ -z $new ]] || sed 's/^/  new:        /' <<<"$new"
    grep -P '^(unfinished|empty)\t' <<<"$after" | cut -f2- | sed 's/^/  unfinished: /' || true
    grep -P '^obsolete\t' <<<"$after" | cut -f2- | sed 's/^/  obsolete:   /' || true
done
