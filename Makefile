BUILD ?= build
PREFIX ?= /usr/local
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test bench install uninstall package clean

# The recipes read the folders from the environment ("$$QV_BUILD"), so a
# path with blanks or quotes reaches each command as one argument, and take
# them as typed ($(value ...)): a "$" in one stays, make does not expand it.
export QV_BUILD := $(value BUILD)
install uninstall: export QV_DESTDIR := $(value DESTDIR)
install: export QV_PREFIX := $(value PREFIX)
# The uninstall checks the prefix only where one is given.
uninstall: export QV_PREFIX := $(if $(filter command line environment,$(origin PREFIX)),$(value PREFIX))

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B "$$QV_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build "$$QV_BUILD" -j $(JOBS)

run: build
	"$$QV_BUILD/src/app/quorvane"

test: build
	cd "$$QV_BUILD" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS) --timeout 300

bench: build
	@for b in "$$QV_BUILD"/bench/bench_*; do echo "== $$b"; "$$b"; done

# Installs under PREFIX (DESTDIR=... stages it in a folder instead), and
# refreshes the desktop's MIME and menu databases there.
install: build
	@DESTDIR="$$QV_DESTDIR" scripts/install-program install "$$QV_BUILD" "$$QV_PREFIX"

# Removes what `make install` from this build put there, from there only:
# it refuses another DESTDIR, or another PREFIX where one is given.
uninstall:
	@DESTDIR="$$QV_DESTDIR" scripts/install-program uninstall "$$QV_BUILD" "$$QV_PREFIX"

# The Debian package quorvane_<version>_<arch>.deb, in the build folder.
package: build
	cd "$$QV_BUILD" && cpack -G DEB

clean:
	rm -rf "$$QV_BUILD"
