#!/usr/bin/env bash
# The installer packages from a launcher and check signed elsewhere (with
# signtool on Windows, say), with every table rule make dist sets:
#   MDE=<Tolvarine.mde> VERSION=<major.minor.build> package-signed.sh <folder> [out folder]
# The folder holds the signed TolvarineLauncher.exe and TolvarineCheck.exe,
# which must carry VERSION (make dist VERSION=... builds them so); the
# packages (the application's and the check's alone) go beside them unless
# an out folder is given.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/package.sh"
[ $# -ge 1 ] && [ -n "$1" ] || package_error "name the folder that holds the signed TolvarineLauncher.exe and TolvarineCheck.exe"
images=$(realpath -m "$1")
out=$(realpath -m "${2:-$images}")
[ -z "${MDE:-}" ] || MDE=$(realpath -m "$MDE")
check_package_inputs
[ -n "$package_version" ] || package_error "give MDE=<Tolvarine.mde> and VERSION=<major.minor.build>"
for image in TolvarineLauncher.exe TolvarineCheck.exe; do
    version=$(image_file_version "$images/$image") || package_error "$images/$image is missing or carries no version"
    [ "$version" = "$package_version.0" ] ||
        package_error "$images/$image carries version $version, not VERSION=$package_version: build it with that VERSION"
done
mkdir -p "$out"
package=$out/Tolvarine-$package_version.msi check_package=$out/TolvarineCheck-$package_version.msi
build_package "$images/TolvarineLauncher.exe" "$root" "$package"
build_check_package "$images/TolvarineCheck.exe" "$root" "$check_package"
echo "Packages: $package $check_package"
print_detection "$images/TolvarineLauncher.exe" "$package" "$check_package"
