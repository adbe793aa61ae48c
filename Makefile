# Pavix: `make run` builds and starts the program, `make test` builds and runs every test
# headless, `make bench` runs the benchmarks, `make fuzz` the fuzzers (clang). Each installs missing
# Debian packages first. `make install` installs under PREFIX (DESTDIR honoured), `make package`
# builds a Debian package and checks it with lintian, `make screenshots` remakes the README's pictures.
BUILD   ?= build
JOBS    ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo
PREFIX  ?= /usr/local

.PHONY: all deps build run test check-layers check-format format tidy test-sanitize bench fuzz install package screenshots clean

all: build

deps:
	@bash scripts/install-deps.sh

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/src/pavix

# Tests never see the user's settings: HOME and the XDG folders are thrown away afterwards.
test: build check-layers
	@bash scripts/run-tests.sh $(BUILD)

# Each folder of src/ includes only what its layer may (docs/architecture.md).
check-layers:
	@python3 scripts/check-layers.py src

# The C++ laid out as .clang-format says: `make check-format` fails on any line clang-format
# would change, `make format` changes them. CI runs the check (.ci/run); `make test` does not.
check-format: deps
	@bash scripts/check-format.sh

format: deps
	@bash scripts/check-format.sh --fix

# clang-tidy with the checks of .clang-tidy over src/, as $(BUILD) compiles it; any finding
# fails. TIDY_SCOPE=all adds tests/ and bench/, TIDY_ANALYZER=1 the static analyzer.
tidy: deps $(BUILD)/CMakeCache.txt
	@JOBS=$(JOBS) bash scripts/check-tidy.sh $(BUILD)

# The whole suite once more, built with AddressSanitizer and UndefinedBehaviorSanitizer in
# its own folder; any report fails it.
SANITIZE_BUILD ?= build-sanitize
test-sanitize: deps
	cmake -S . -B $(SANITIZE_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPAVIX_SANITIZE=ON
	cmake --build $(SANITIZE_BUILD) -j $(JOBS) --target logic_tests widget_tests corpus_tests
	@ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	 LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizer-suppressions.txt:print_suppressions=0 \
	 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	 PAVIX_INSTALL_CHECK=0 bash scripts/run-tests.sh $(SANITIZE_BUILD)

bench:
	@bash scripts/install-deps.sh --bench
	@$(MAKE) --no-print-directory build
	@cmake --build $(BUILD) -j $(JOBS) --target benchmarks -- --no-print-directory >/dev/null
	@bash scripts/run-bench.sh $(BUILD)

install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

# The package installs under /usr whatever PREFIX says.
package: build
	@rm -rf $(BUILD)/package
	cd $(BUILD) && cpack -G DEB
	@bash scripts/check-package.sh $(BUILD)/package

screenshots: build
	@bash scripts/screenshots.sh $(BUILD)

# The fuzzers of the readers of outside data, built with clang in their own folder, each
# run for FUZZ_SECONDS; prints coverage and executions per second of each, keeps what
# crashes under $(FUZZ_BUILD)/crashes/. Not part of `make test`.
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
fuzz:
	@FUZZ_SECONDS=$(FUZZ_SECONDS) JOBS=$(JOBS) bash scripts/run-fuzz.sh $(FUZZ_BUILD)

clean:
	rm -rf $(BUILD)
