# Entry points for a fresh Debian 12 machine: `make run` and `make test`.
BUILD ?= build
ASAN_BUILD ?= build-asan
TSAN_BUILD ?= build-tsan
JOBS ?= $(shell nproc)
# ON turns compiler warnings into errors (CI does).
WERROR ?= OFF
# ccache, when installed, makes rebuilds of unchanged sources free.
LAUNCHER := $(shell command -v ccache 2>/dev/null)
LAUNCH := $(if $(LAUNCHER),-DCMAKE_CXX_COMPILER_LAUNCHER=$(LAUNCHER))

.PHONY: deps configure build run test asan-test tsan-test package bench fuzz format-check qt-check tidy clean

deps:
	./scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DYONATAMA_WERROR=$(WERROR) $(LAUNCH)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./scripts/start-window.sh $(BUILD)/bin/yonatama

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# -Og runs the suite as fast as -O1 and builds as fast as -O0; its
# maybe-uninitialized warnings are false alarms (std::stop_source among them),
# and the Release build keeps that warning as an error.
asan-test: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-Og -g1 -Wno-maybe-uninitialized" \
	  -DYONATAMA_SANITIZE=ON -DYONATAMA_BENCH=OFF \
	  -DYONATAMA_WERROR=$(WERROR) $(LAUNCH)
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp:print_suppressions=0 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --output-on-failure -j $(JOBS) -LE "long|install"

# The study's worker threads and the companion under ThreadSanitizer: the
# layers without Qt are where our own threads run. The sanitizer cannot follow
# Qt's thread pool, so the pictures come from the Release build's
# yonatama-render and reports from Qt's libraries are suppressed. Any other
# report fails the reporting process (exit 66), children included, and so
# the test that started it. The study's long agreement with the theory adds a
# minute under the sanitizer and no thread the other study tests lack; the
# output files' names and links are a matter of one thread.
tsan-test: build
	cmake -S . -B $(TSAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DYONATAMA_TSAN=ON \
	  -DYONATAMA_QT=OFF -DYONATAMA_RENDER_PROGRAM=$(abspath $(BUILD))/bin/yonatama-render \
	  -DYONATAMA_WERROR=$(WERROR) $(LAUNCH)
	cmake --build $(TSAN_BUILD) -j $(JOBS) --target tests_runs tests_cli yonatama-cli
	cd $(TSAN_BUILD) && TSAN_OPTIONS=suppressions=$(CURDIR)/scripts/tsan.supp:halt_on_error=1:exitcode=66 \
	  ctest --output-on-failure -j $(JOBS) -L '^(runs|cli)$$' \
	  -E 'AgreesWithTheTheory|FollowLinksAndTakeFullLengthNames'

# The Debian package: $(BUILD)/yonatama_<version>_amd64.deb
package: build
	cmake --build $(BUILD) --target package

bench: build
	./scripts/bench.sh $(BUILD)

fuzz: deps
	YONATAMA_WERROR=$(WERROR) JOBS=$(JOBS) ./scripts/fuzz.sh $(FUZZ_SECONDS)

qt-check:
	./scripts/qt-include-check.sh

format-check: deps
	./scripts/format-check.sh

# Needs the compile commands of a configured $(BUILD); TIDY_FILES=changed
# checks only the sources changed since the previous commit.
tidy: configure
	JOBS=$(JOBS) ./scripts/tidy.sh $(BUILD) $(TIDY_FILES)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(TSAN_BUILD) build-fuzz
