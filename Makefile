# The two commands a newcomer needs: `make demo` and `make test`.
.PHONY: test demo bench fuzz fuzz-keep deps build clean

deps:
	@scripts/install-deps

build: deps
	cmake --preset dev
	cmake --build --preset dev

test: build
	ctest --preset dev

# The demo builds only what it runs; `make test` builds the rest.
demo: deps
	cmake --preset dev
	cmake --build --preset dev --target modules
	@scripts/demo build/dev

bench: deps
	@scripts/install-deps scripts/debian-packages-bench.txt
	cmake --preset release
	cmake --build --preset release
	@# Every figure the median of three repetitions: the machine is shared.
	@for b in build/release/bin/bench_*; do echo "== $$b"; \
	  "$$b" --benchmark_repetitions=3 --benchmark_report_aggregates_only=true || exit 1; done
	@echo "== the whole run against ezdxf"
	@/usr/bin/python3 bench/drawing_load_vs_ezdxf.py build/release/bin

# Fuzzing with clang and libFuzzer: FUZZ_SECONDS (60) per target.
fuzz: deps
	@scripts/fuzz

# What the last `make fuzz` found, minimised into fuzz/kept/ for `make test`.
fuzz-keep:
	@scripts/fuzz-keep

clean:
	rm -rf build
