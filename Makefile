# Entry points for a fresh Debian 12 machine. Each installs what is missing.
.PHONY: all deps build test test-kit demo screenshot dist package bench clean

all: build

deps:
	@scripts/install-deps.sh

build: deps
	@scripts/build.sh

test: build
	@scripts/test.sh

# The Windows test kits for real Windows, x86 and x64, under build/test-kit/.
test-kit: deps
	@scripts/build.sh windows windows-x64 windows-tests windows-tests-x64
	@scripts/test-kit.sh

# The demo and the release print one line per step; the build's output goes to a log under build/.
demo: deps
	@scripts/step.sh "Building the Windows programs" build/demo-build.log scripts/build.sh wine
	@scripts/demo.sh

screenshot: deps
	@scripts/build.sh wine
	@scripts/screenshot.sh

# make dist VERSION=<major.minor.build> gives the images that version, and with MDE=<Tolvarine.mde>
# adds the Windows Installer packages (the application's, and the check's alone);
# make dist SIGN_PFX=<file.pfx> SIGN_PASSWORD_FILE=<file> [SIGN_TIMESTAMP_URL=<url>] signs it all, or
# make dist SIGN_PKCS11_MODULE=<library> SIGN_PKCS11_KEY=<pkcs11: URI> SIGN_CERT=<PEM> SIGN_PIN_FILE=<file> [...].
dist: deps
	@MDE="$(MDE)" VERSION="$(VERSION)" \
		SIGN_PFX="$(SIGN_PFX)" SIGN_PASSWORD_FILE="$(SIGN_PASSWORD_FILE)" SIGN_TIMESTAMP_URL="$(SIGN_TIMESTAMP_URL)" \
		SIGN_PKCS11_MODULE="$(SIGN_PKCS11_MODULE)" SIGN_PKCS11_KEY="$(SIGN_PKCS11_KEY)" \
		SIGN_CERT="$(SIGN_CERT)" SIGN_PIN_FILE="$(SIGN_PIN_FILE)" \
		scripts/dist.sh

# make package IMAGES=<folder> MDE=<Tolvarine.mde> VERSION=<major.minor.build>: the packages from the
# launcher and check in that folder, signed elsewhere, beside them.
package: deps
	@MDE="$(MDE)" VERSION="$(VERSION)" scripts/package-signed.sh "$(IMAGES)"

clean:
	rm -rf build dist

bench: deps
	@scripts/build.sh bench
	@bench/run.sh
