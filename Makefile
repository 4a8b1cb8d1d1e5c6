# SPDX-FileCopyrightText: 2026 The StrumletViewer developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# StrumletViewer: `make demo` and `make test` are all a new machine needs.
BUILD      ?= build
SAN_BUILD  ?= build-san
TSAN_BUILD ?= build-tsan
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 30
FUZZ_RUNS  ?= 10000000
JOBS       ?= $(shell nproc)
# Ninja comes with the install script, which runs before any configure step.
CMAKE_COMMON := -G Ninja -DSTRUMLET_WERROR=ON

PREFIX     ?= /usr/local

.PHONY: all deps build demo test unit sanitize tsan fuzz fuzz-build fuzz-long bench samples format clean install deb deb-tree dsc

all: build

deps:
	@bash scripts/install-deps.sh

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) $(CMAKE_COMMON) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

demo: build
	@bash scripts/demo.sh $(BUILD)

# Every test: the unit tests, the same tests under ASan and UBSan, the rendering and page tests
# under ThreadSanitizer, and each fuzz target for a bounded time.
test: build unit sanitize tsan fuzz

unit: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

sanitize: deps
	cmake -S . -B $(SAN_BUILD) $(CMAKE_COMMON) -DCMAKE_BUILD_TYPE=Debug \
	  -DSTRUMLET_SANITIZE=ON -DSTRUMLET_BUILD_QT=OFF -DSTRUMLET_BUILD_BENCH=OFF
	cmake --build $(SAN_BUILD) -j $(JOBS)
	# The sanitizer's own dlopen stands between the program and the loader, so the loader no
	# longer reads the program's RUNPATH for our Palm libraries: name their folder instead.
	cd $(SAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  LD_LIBRARY_PATH="$(abspath $(SAN_BUILD))/lib/strumletviewer$${LD_LIBRARY_PATH:+:$$LD_LIBRARY_PATH}" \
	  ctest --output-on-failure -j $(JOBS)

# The layers that draw on several threads, under ThreadSanitizer. CTest runs every test in a
# process of its own, so each threaded drawing starts with cold caches.
tsan: deps
	cmake -S . -B $(TSAN_BUILD) $(CMAKE_COMMON) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DSTRUMLET_TSAN=ON -DSTRUMLET_BUILD_QT=OFF -DSTRUMLET_BUILD_BENCH=OFF
	cmake --build $(TSAN_BUILD) -j $(JOBS) --target strumlet_render_tests strumlet_html_tests \
	  strumlet_convert_tests
	cd $(TSAN_BUILD)/tests/render && TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
	  ctest --output-on-failure -j $(JOBS)
	cd $(TSAN_BUILD)/tests/html && TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
	  ctest --output-on-failure -j $(JOBS)
	cd $(TSAN_BUILD)/tests/convert && TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
	  ctest --output-on-failure -j $(JOBS)

fuzz-build: deps
	CXX=clang++ cmake -S . -B $(FUZZ_BUILD) $(CMAKE_COMMON) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DSTRUMLET_BUILD_FUZZ=ON -DSTRUMLET_BUILD_TESTS=OFF -DSTRUMLET_BUILD_BENCH=OFF \
	  -DSTRUMLET_BUILD_QT=OFF
	cmake --build $(FUZZ_BUILD) -j $(JOBS)

fuzz: fuzz-build
	bash scripts/run-fuzzers.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

# Each target for FUZZ_RUNS executions (ten million by default): hours, so outside CI. A crash
# stops it; keep the input in fuzz/crashes/<target>/ once mended, and CTest replays it.
fuzz-long: fuzz-build
	bash scripts/run-fuzzers.sh $(FUZZ_BUILD) 0 $(FUZZ_RUNS)

# Installs under PREFIX (DESTDIR stages it elsewhere). The file-type database of the prefix is
# brought up to date, so file managers know chord databases at once; a package leaves that to
# the system's own triggers.
install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"
	@if [ -z "$(DESTDIR)" ] && command -v update-mime-database >/dev/null; then \
	  update-mime-database "$(PREFIX)/share/mime"; fi
	@if [ -z "$(DESTDIR)" ] && command -v update-desktop-database >/dev/null; then \
	  update-desktop-database -q "$(PREFIX)/share/applications"; fi

# The Debian source and binary packages, built by the distribution's own tools from a copy of
# the tree (every file git knows or would add), in $(BUILD)/deb/.
DEB_VERSION = $(shell dpkg-parsechangelog -l debian/changelog -S Version)
# The tree as the package's source: every file git knows or would add.
deb-tree:
	rm -rf $(BUILD)/deb && mkdir -p $(BUILD)/deb/strumletviewer-$(DEB_VERSION)
	git ls-files -z --cached --others --exclude-standard | \
	  xargs -0 cp -a --parents -t $(BUILD)/deb/strumletviewer-$(DEB_VERSION)

deb: deps deb-tree
	cd $(BUILD)/deb/strumletviewer-$(DEB_VERSION) && \
	  DEB_BUILD_OPTIONS="parallel=$(JOBS)" dpkg-buildpackage -us -uc
	@ls -1 $(BUILD)/deb/strumletviewer_$(DEB_VERSION)*

# The source package alone, for scripts/check-package.sh to build in a clean root.
dsc: deb-tree
	cd $(BUILD)/deb && dpkg-source -b strumletviewer-$(DEB_VERSION)
	@ls -1 $(BUILD)/deb/strumletviewer_$(DEB_VERSION)*

bench: build
	@for b in $(BUILD)/bench/bench_*; do [ -x "$$b" ] && "$$b"; done

# Rebuilds the sample databases from their readable sources.
samples: build
	@bash scripts/make-samples.sh $(BUILD)

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(SAN_BUILD) $(TSAN_BUILD) $(FUZZ_BUILD)
