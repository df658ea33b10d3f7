#!/usr/bin/env bash
# Renders the contact sheets in docs/contact-sheets/ with the program itself: every template with
# placeholder pictures, and the two effect libraries. Needs a built program (scripts/build.sh) and
# ImageMagick's convert for the JPEG files.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${LUMISET_BUILD_DIR:-$here/build}"
lumiset="$build/bin/lumiset"
out="$here/docs/contact-sheets"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"
"$lumiset" catalogue > "$work/catalogue.txt"
page="$out/README.md"
{
  echo "# Contact sheets"
  echo
  echo "Rendered by \`scripts/contact-sheets.sh\` with \`lumiset preview-template\` (placeholder pictures, eight"
  echo "frames spread over each template) and \`lumiset preview-effects\`."
  echo
  echo "## Templates"
} > "$page"
# Catalogue columns: 0 type, 1 category, 5 orientations, 9 number, 10 frames, 11 name.
awk -F'\t' '/^# /{t=substr($0, 3); next} t=="ListView_mobancanshu"{print $10 "\t" $12 "\t" $2 "\t" $6 "\t" $11}' \
    "$work/catalogue.txt" | while IFS=$'\t' read -r number name category slots frames; do
  file="template-$(printf %02d "$number").jpg"
  "$lumiset" preview-template "$number" --size 320x180 --out "$work/t$number" >/dev/null
  convert "$work/t$number/sheet.png" -quality 82 "$out/$file"
  printf '\n### %s %s (%s, %s, %s frames)\n\n![%s](%s)\n' "$number" "$name" "$category" "$slots" "$frames" \
    "$name" "$file" >> "$page"
done
printf '\n## Picture effects\n\n![picture effects](picture-effects.jpg)\n' >> "$page"
printf '\n## Text effects\n\n![text effects](text-effects.jpg)\n' >> "$page"
"$lumiset" preview-effects --out "$work/fx" >/dev/null
convert "$work/fx/picture-effects.png" -quality 82 "$out/picture-effects.jpg"
convert "$work/fx/text-effects.png" -quality 85 "$out/text-effects.jpg"
echo "contact sheets in $out"
