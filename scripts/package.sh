# Sourced by dist.sh: the release's version, which the images carry, and the
# per-user Windows Installer packages, built with wixl when MDE and VERSION
# are given: the application's (installer/tolvarine.wxs) and the check's
# alone (installer/tolvarine-check.wxs).
#   check_package_inputs        fails, saying why, on a bad MDE or VERSION;
#                               sets release_version ("" without VERSION: the
#                               project's) and package_version ("" when no
#                               package is asked for)
#   build_package <launcher> <source tree> <msi>
#                               the package of that launcher image, the
#                               TolvarineCheck.exe beside it, and MDE
#   build_check_package <check> <source tree> <msi>
#                               the package of that check image alone
#   image_file_version <image>  the file version in the image's version resource
#   print_detection <launcher> [msi check-msi]
#                               what a deployment tool detects the release by,
#                               and the packages' codes

package_error() {
    echo "error: cannot build the release: $*" >&2
    return 1
}

check_package_inputs() {
    package_version="" release_version=""
    [ -n "${MDE:-}" ] || [ -n "${VERSION:-}" ] || return 0
    [ -n "${VERSION:-}" ] ||
        package_error "MDE is given without VERSION=<major.minor.build>, e.g. VERSION=1.0.0"
    # At most 3, 3 and 5 digits, so that the shell's arithmetic cannot overflow.
    [[ "$VERSION" =~ ^([0-9]{1,3})\.([0-9]{1,3})\.([0-9]{1,5})$ ]] ||
        package_error "VERSION=$VERSION is not three numbers separated by dots (major.minor.build, e.g. 1.0.0)"
    local major=$((10#${BASH_REMATCH[1]})) minor=$((10#${BASH_REMATCH[2]})) build=$((10#${BASH_REMATCH[3]}))
    [ "$major" -le 255 ] && [ "$minor" -le 255 ] && [ "$build" -le 65535 ] ||
        package_error "VERSION=$VERSION is out of Windows Installer's range (major and minor at most 255, build at most 65535)"
    release_version=$major.$minor.$build
    [ -n "${MDE:-}" ] || return 0
    [ -f "$MDE" ] && [ -r "$MDE" ] || package_error "MDE=$MDE is not a readable file"
    command -v wixl >/dev/null || package_error "wixl is not installed: run 'make deps'"
    package_version=$release_version
}

# wixl builds a package that silently lacks an attribute it does not know,
# warning only: any warning fails the build.
#   wixl_package <wxs> <folder of its files> <msi> <launcher image> <secure properties> [SQL...]
wixl_package() {
    local wxs=$1 stage=$2 msi=$3 launcher=$4 secure=$5 messages code=0
    messages=$(cd "$stage" && wixl -D Version="$package_version" -o "$msi" "$wxs" 2>&1) || code=$?
    rm -rf "$stage"
    [ -z "$messages" ] || printf '%s\n' "$messages"
    if [ "$code" -ne 0 ] || grep -qiE 'warning|critical' <<<"$messages"; then
        rm -f "$msi"
        package_error "wixl did not build installer/$(basename "$wxs") cleanly (see above)"
        return
    fi
    set_windows_installer_rules "$msi" "$launcher" "$secure" "${@:6}" || { rm -f "$msi"; return 1; }
}

# The desktop shortcut's component goes with the choice on the command line,
# else with the one remembered from an earlier install.
desktop_shortcut_condition='DESKTOP_SHORTCUT = "1" OR (NOT DESKTOP_SHORTCUT AND REMEMBERED_DESKTOP_SHORTCUT = "#1")'

build_package() {
    local launcher=$1 source=$2 msi=$3 stage
    stage=$(dirname "$msi")/package-files
    rm -rf "$stage" && mkdir -p "$stage" &&
        cp "$launcher" "$stage/TolvarineLauncher.exe" &&
        cp "$(dirname "$launcher")/TolvarineCheck.exe" "$stage/TolvarineCheck.exe" &&
        cp "$MDE" "$stage/Tolvarine.mde" &&
        cp "$source/window/tolvarine.ico" "$stage/tolvarine.ico" || return 1
    wixl_package "$source/installer/tolvarine.wxs" "$stage" "$msi" "$launcher" \
        "INSTALLFOLDER;DESKTOP_SHORTCUT;REMEMBERED_DESKTOP_SHORTCUT" \
        "UPDATE Component SET Condition = '$desktop_shortcut_condition' WHERE Component = 'DesktopShortcut'"
}

build_check_package() {
    local check=$1 source=$2 msi=$3 stage
    stage=$(dirname "$msi")/check-package-files
    rm -rf "$stage" && mkdir -p "$stage" &&
        cp "$check" "$stage/TolvarineCheck.exe" &&
        cp "$source/window/tolvarine.ico" "$stage/tolvarine.ico" || return 1
    wixl_package "$source/installer/tolvarine-check.wxs" "$stage" "$msi" "$check" ""
}

# "major.minor.build.revision" from the VS_FIXEDFILEINFO of the image's
# version resource: the two DWORDs after its signature and structure version.
image_file_version() {
    local hex before fields ms ls
    hex=$(wrestool -x --raw --type=16 "$1" 2>/dev/null | od -An -v -tx1 | tr -d ' \n')
    before=${hex%%bd04effe*}
    [ "$before" != "$hex" ] && [ $((${#before} % 2)) -eq 0 ] || return 1
    fields=${hex:$((${#before} + 16)):16}
    [ ${#fields} -eq 16 ] || return 1
    ms=$((16#${fields:6:2}${fields:4:2}${fields:2:2}${fields:0:2}))
    ls=$((16#${fields:14:2}${fields:12:2}${fields:10:2}${fields:8:2}))
    echo "$((ms >> 16)).$((ms & 65535)).$((ls >> 16)).$((ls & 65535))"
}

# Windows Installer's rules that wixl 0.101 cannot express, set in the tables:
# - the launcher and the check are versioned files: their own file version
#   (the release's, one for both), and no hash row (which only unversioned
#   files have), so that repairs and patches compare versions, not dates and
#   hashes;
# - a rebuild with the same version replaces the installed one, as a higher
#   version does (VersionMax inclusive, 512), instead of installing beside it;
# - the properties given are secure, so that a managed install (assigned by
#   Group Policy, or run elevated by Intune or Configuration Manager) passes
#   them on (INSTALLFOLDER, the desktop shortcut's);
# - and the package's own statements (a component's condition).
set_windows_installer_rules() {
    local msi=$1 version secure code max attributes
    version=$(image_file_version "$2") || package_error "no file version in $2's version resource" || return
    secure=$(msiinfo export "$msi" Property | tr -d '\r' | awk -F '\t' '$1 == "SecureCustomProperties" { print $2 }')
    # The row of MajorUpgrade that finds older versions; Attributes is part of
    # the key, so the row is deleted and inserted again.
    read -r code max attributes < <(msiinfo export "$msi" Upgrade | tr -d '\r' |
        awk -F '\t' '$7 == "WIX_UPGRADE_DETECTED" { print $1, $3, $5 }')
    [ -n "${attributes:-}" ] || package_error "the package has no upgrade row for older versions" || return
    # One statement per file: msibuild's OR matched other rows too.
    local sql=(
        "UPDATE File SET Version = '$version' WHERE File = 'TolvarineLauncher.exe'"
        "UPDATE File SET Version = '$version' WHERE File = 'TolvarineCheck.exe'"
        "DELETE FROM MsiFileHash WHERE File_ = 'TolvarineLauncher.exe'"
        "DELETE FROM MsiFileHash WHERE File_ = 'TolvarineCheck.exe'"
        "DELETE FROM Upgrade WHERE ActionProperty = 'WIX_UPGRADE_DETECTED'"
        "INSERT INTO Upgrade (UpgradeCode, VersionMax, Attributes, ActionProperty) VALUES ('$code', '$max', $((attributes | 512)), 'WIX_UPGRADE_DETECTED')"
        "UPDATE Property SET Value = '$3${secure:+${3:+;}$secure}' WHERE Property = 'SecureCustomProperties'"
        "${@:4}"
    )
    local statement
    for statement in "${sql[@]}"; do
        msibuild "$msi" -q "$statement" || package_error "msibuild failed on: $statement" || return
    done
}

# The values an administrator enters in Intune's or Configuration Manager's
# detection rule and uninstall command, from the release as built.
print_detection() {
    local version
    version=$(image_file_version "$1") || package_error "no file version in $1" || return
    echo "Detect this release by TolvarineLauncher.exe's file version $version, greater than or equal to."
    local msi
    for msi in "${@:2}"; do
        echo "$(basename "$msi")'s UpgradeCode (the same in every release): $(package_property "$msi" UpgradeCode)"
        echo "$(basename "$msi")'s ProductCode (this build's, for msiexec /x): $(package_property "$msi" ProductCode)"
    done
}

package_property() {  # <msi> <name>
    msiinfo export "$1" Property | tr -d '\r' | awk -F '\t' -v name="$2" '$1 == name { print $2 }'
}
