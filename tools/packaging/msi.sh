#!/bin/sh
# Builds the Windows Installer package from packaging/windows/Mirobel.wxs:
#   msi.sh VERSION MIROBEL_SCR MIROBEL_MID OUTPUT_MSI
# windows.sh calls it with the project's version; the installer tests call it
# with other versions to build the packages an upgrade starts from.
set -eu
[ $# -eq 4 ] || { echo "usage: $0 VERSION MIROBEL_SCR MIROBEL_MID OUTPUT_MSI" >&2; exit 2; }
version=$1 scr=$2 mid=$3 out=$4
root=$(cd "$(dirname "$0")/../.." && pwd)
case $version in
  *[!0-9.]* | .* | *. | *..* | "") echo "$0: version must be numbers joined by dots: $version" >&2; exit 2 ;;
esac
[ -f "$scr" ] || { echo "$0: no $scr" >&2; exit 1; }
[ -f "$mid" ] || { echo "$0: no $mid" >&2; exit 1; }
case $out in /*) ;; *) out=$(pwd)/$out ;; esac
# wixl looks source files up relative to the folder it runs in and fails on
# absolute paths, so the inputs are gathered in a folder of their own.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$scr" "$work/Mirobel.scr"
cp "$mid" "$work/Mirobel.mid"
cp "$root/assets/icons/Mirobel.ico" "$work/Mirobel.ico"
cp "$root/packaging/windows/Mirobel.wxs" "$work/Mirobel.wxs"
(cd "$work" && wixl -a x64 -D Version="$version" -D ScrSource=Mirobel.scr -D MidSource=Mirobel.mid \
  -D IconSource=Mirobel.ico -o "$out" Mirobel.wxs)
# wixl 0.101 drops IncludeMaximum from UpgradeVersion, which leaves the range
# "this very version" empty: a rebuild of the same version (a new ProductCode)
# would install beside the old one as a second entry. The row is written again
# with the attributes wixl should have given it (0x301: migrate features,
# both ends included); Attributes is part of the table's key, which SQL's
# UPDATE may not change, so the table is exported, edited and imported.
msiinfo export "$out" Upgrade > "$work/Upgrade.idt"
awk -F '\t' 'BEGIN { OFS = "\t" } $7 ~ /^MIROBEL_SAME_VERSION_FOUND\r?$/ { $5 = 769; n++ } { print }
              END { if (n != 1) { print "no same-version row in the Upgrade table" > "/dev/stderr"; exit 1 } }' \
  "$work/Upgrade.idt" > "$work/Upgrade.fixed.idt"
(cd "$work" && mv Upgrade.fixed.idt Upgrade.idt && msibuild "$out" -i Upgrade.idt)
# wixl 0.101 also ignores two attributes the source gives (it warns about
# them): the Schedule of MajorUpgrade, leaving the older product's removal
# before this one's installation, and NeverOverwrite on Mirobel.mid's
# component. Both are set here. The removal comes once the files are in
# place and the components have this product as a client (InstallExecute
# runs what is scheduled so far), but before this product registers itself:
# Wine's removal of a product deletes the whole registration of its
# UpgradeCode, which this product shares, and later upgrades would not find
# it. The registration that follows goes into the script InstallFinalize runs.
msibuild "$out" -q "INSERT INTO InstallExecuteSequence (Action, Sequence) VALUES ('InstallExecute', 5000)" \
  -q "UPDATE InstallExecuteSequence SET Sequence = 5001 WHERE Action = 'RemoveExistingProducts'" \
  -q "UPDATE Component SET Attributes = 384 WHERE Component = 'MirobelMid'"
sequence=$(msiinfo export "$out" InstallExecuteSequence | tr -d '\r')
components=$(msiinfo export "$out" Component | tr -d '\r')
echo "$sequence" | grep -q "^InstallFiles		4000$" && echo "$sequence" | grep -q "^RegisterUser		6000$" \
  && echo "$sequence" | grep -q "^RemoveExistingProducts		5001$" \
  && echo "$components" | grep -q "^MirobelMid	.*	384		MirobelMid$" \
  || { echo "$0: could not schedule the upgrade's removal or protect Mirobel.mid" >&2; exit 1; }
