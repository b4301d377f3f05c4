# Pathwarden: the two everyday commands are `make run` and `make test`.
BUILD      ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS       ?= $(shell nproc)
FUZZ_SECONDS ?= 300
# A run also ends after this many executions (-1: no limit)
FUZZ_RUNS  ?= -1
# library, ini, png, roundtrip, or all of them in turn
FUZZ_TARGET ?= all
PREFIX     ?= /usr/local

PKGS_BUILD = cmake ninja-build g++ ccache pkg-config libgtk-3-dev libcairo2-dev libpango1.0-dev \
             libx11-dev libpng-dev fonts-liberation2 fonts-dejavu-core fonts-urw-base35 scdoc
PKGS_TEST  = $(PKGS_BUILD) googletest libgtest-dev libgmock-dev xvfb xauth xdotool imagemagick \
             desktop-file-utils appstream x11-utils libx11-dev man-db weston \
             at-spi2-core dbus-daemon dbus-bin python3-gi gir1.2-atspi-2.0
PKGS_DEB   = $(PKGS_BUILD) debhelper dpkg-dev lintian ccache xvfb xauth xdotool x11-utils
PKGS_BENCH = $(PKGS_BUILD) libbenchmark-dev libxdamage-dev xvfb xauth
PKGS_FUZZ  = $(PKGS_BUILD) clang libclang-rt-14-dev

FUZZ_RUN = $(if $(filter all,$(FUZZ_TARGET)),library ini png roundtrip,$(FUZZ_TARGET))
FUZZ_SEEDS_library = fuzz/corpus
FUZZ_SEEDS_ini = fuzz/corpus-ini
FUZZ_SEEDS_png = fuzz/corpus-png
FUZZ_SEEDS_roundtrip = fuzz/corpus-roundtrip

ENSURE = scripts/ensure-packages
# ccache when it is there: the build without the toolkit then takes its library objects from the
# main build's. The cache's keys leave out the build folder: paths count from the tree, and the
# working folder of debug information is not hashed (it names the first build folder).
export CCACHE_BASEDIR := $(CURDIR)
export CCACHE_NOHASHDIR := 1
CMAKE  = cmake $$(command -v ccache >/dev/null && echo -DCMAKE_C_COMPILER_LAUNCHER=ccache \
         -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
# The tests' environment is set here for every test: ctest keeps only the first entry of a list
# handed to the discovered tests. No accessibility bus: the tests walk the toolkit's accessible
# objects in process, and the bus bridge would only leave its connection behind at exit. The
# screen-reader test starts a bus of its own for the game it runs.
CTEST  = xvfb-run -a -s "-screen 0 1280x1024x24" env HOME="$$PWD/test-home" \
         XDG_CONFIG_HOME="$$PWD/test-home/.config" NO_AT_BRIDGE=1 GDK_BACKEND=x11 \
         ctest --output-on-failure -j $(JOBS)
# The build without the toolkit: everything below src/platform, the vx8 tool and their tests.
NOGUI  = $(BUILD)-nogui

.PHONY: all run test build install deb bench fuzz sanitize tsan format clean

all: build

build:
	@$(ENSURE) $(PKGS_BUILD)
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DPW_TESTS=OFF
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/pathwarden

# The game in PREFIX/lib/pathwarden with a link in PREFIX/bin, vx8 in PREFIX/bin, and the
# desktop entry, metainfo, icons, guide and man pages under PREFIX/share, stripped. DESTDIR is
# honoured.
install: build
	cmake --install $(BUILD) --prefix $(PREFIX) --strip

# The packages pathwarden and pathwarden-tools in DEB_DIR, built from a copy of the tree without
# its build folders, checked with lintian and started from an unpacked copy. The tests are left
# to `make test`; ccache keeps a rebuild cheap.
DEB_DIR     = build-deb
DEB_VERSION = $(shell sed -n '1s/^pathwarden .\([0-9.]*\).*/\1/p' debian/changelog)
DEB_SOURCE  = $(DEB_DIR)/pathwarden-$(DEB_VERSION)
deb:
	@$(ENSURE) $(PKGS_DEB)
	rm -rf $(DEB_DIR) && mkdir -p $(DEB_SOURCE)
	tar -c --exclude-vcs --exclude=./build --exclude='./build-*' --exclude=./.cache \
	    --exclude=./compile_commands.json . | tar -x -C $(DEB_SOURCE)
	cd $(DEB_SOURCE) && CCACHE_BASEDIR="$$PWD" CMAKE_C_COMPILER_LAUNCHER=ccache \
	    CMAKE_CXX_COMPILER_LAUNCHER=ccache DEB_BUILD_OPTIONS="nocheck parallel=$(JOBS)" \
	    dpkg-buildpackage -us -uc
	rm -rf $(DEB_SOURCE)
	lintian --fail-on error,warning $(DEB_DIR)/pathwarden_$(DEB_VERSION)_*.changes
	mkdir $(DEB_DIR)/root
	for deb in $(DEB_DIR)/*.deb; do dpkg -x "$$deb" $(DEB_DIR)/root; done
	sh debian/tests/smoke $(DEB_DIR)/root

test:
	@$(ENSURE) $(PKGS_TEST)
	$(CMAKE) -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DPW_TESTS=ON
	cmake --build $(BUILD) -j $(JOBS)
	cd $(BUILD) && $(CTEST)
	$(CMAKE) -S . -B $(NOGUI) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DPW_TESTS=ON -DPW_GUI=OFF
	cmake --build $(NOGUI) -j $(JOBS)
	cd $(NOGUI) && env HOME="$$PWD/test-home" ctest --output-on-failure -j $(JOBS)

sanitize:
	@$(ENSURE) $(PKGS_TEST)
	cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPW_TESTS=ON -DPW_SANITIZE=ON
	cmake --build build-sanitize -j $(JOBS)
	cd build-sanitize && UBSAN_OPTIONS=print_stacktrace=1 $(CTEST)

# The threaded code's tests under ThreadSanitizer: the background task, hints and "show me",
# and the solver's two threads and its cancellation. Under it a 4 x 4 table takes minutes to
# build, so two tests build it, and the size-switch test, whose 5 x 5 build would outlast its
# wait, is left to `make test`. tests/tsan.supp says what is suppressed, and why.
TSAN_TESTS = test_platform test_solver test_play test_hints
TSAN_OPTIONS = halt_on_error=1 suppressions=$(CURDIR)/tests/tsan.supp
TSAN_FILTER = BackgroundTask|WardenCoachTest|PlayCore\.AHintWhose|WardenHintsTest\.(Hint|ShowMe|AnyKey)|PuzzleSolver\.(SolversOnSeveral|ACancelled|Preparing|AWaitFor|ABuildCancelled)|ExactSearch\.TwoThreads|PhaseBuilder\.(BuildsOnTwo|ACancelled)
tsan:
	@$(ENSURE) $(PKGS_TEST)
	cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPW_TESTS=ON -DPW_TSAN=ON
	TSAN_OPTIONS="$(TSAN_OPTIONS)" cmake --build build-tsan -j $(JOBS) --target $(TSAN_TESTS)
	cd build-tsan && TSAN_OPTIONS="$(TSAN_OPTIONS)" $(CTEST) -R '$(TSAN_FILTER)'

bench:
	@$(ENSURE) $(PKGS_BENCH)
	cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DPW_TESTS=OFF -DPW_BENCH=ON
	cmake --build build-bench -j $(JOBS)
	build-bench/bench/pathwarden_bench
	sh bench/first-solve.sh build-bench
	sh bench/startup-bench.sh build-bench

fuzz:
	@$(ENSURE) $(PKGS_FUZZ)
	CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DPW_TESTS=OFF -DPW_FUZZ=ON -DPW_WERROR=OFF
	cmake --build build-fuzz -j $(JOBS) --target $(addprefix fuzz_,$(FUZZ_RUN))
	$(foreach t,$(FUZZ_RUN),mkdir -p build-fuzz/corpus-$(t) && \
	    build-fuzz/fuzz/fuzz_$(t) -max_total_time=$(FUZZ_SECONDS) -runs=$(FUZZ_RUNS) \
	    -timeout=10 -rss_limit_mb=4096 -print_final_stats=1 \
	    build-fuzz/corpus-$(t) $(FUZZ_SEEDS_$(t)) && ) true

format:
	clang-format -i $$(find src tools tests bench fuzz -name '*.cpp' -o -name '*.h')

clean:
	rm -rf $(BUILD) $(NOGUI) build-sanitize build-tsan build-bench build-fuzz $(DEB_DIR)
