BUILD ?= build
PREFIX ?= /usr/local
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test bench install clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/src/app/quorvane

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS) --timeout 300

bench: build
	@for b in $(BUILD)/bench/bench_*; do echo "== $$b"; $$b; done

install: build
	cmake --install $(BUILD) --prefix $(PREFIX)
	@# The desktop learns the new file type and menu entry (when the tools are there).
	-@command -v update-mime-database >/dev/null && update-mime-database $(PREFIX)/share/mime
	-@command -v update-desktop-database >/dev/null && update-desktop-database $(PREFIX)/share/applications

clean:
	rm -rf $(BUILD)
