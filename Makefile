# KINOVELA: `make demo` runs the saver on sample clips; `make test` builds and runs every test.
JOBS ?= 2
TREES := win32 win64 native

.PHONY: all bootstrap build test demo bench soak clean

all: build

bootstrap:
	@./scripts/bootstrap.sh

build: bootstrap
	@for t in $(TREES); do \
	  mkdir -p build; [ -f build/$$t/CMakeCache.txt ] || cmake --preset $$t >build/configure-$$t.log 2>&1 || \
	    { mkdir -p build; cmake --preset $$t; exit 1; }; \
	  cmake --build build/$$t -j$(JOBS) || exit 1; \
	done
	@echo "deliverables: dist/win32/KINOVELA.SCR and setup.exe (shipped), dist/win64/ (the twins run under Wine)"

test: build
	ctest --test-dir build/native --output-on-failure -j$(JOBS)
	ctest --test-dir build/win64 --output-on-failure -j$(JOBS)

demo: build
	@python3 scripts/demo.py

bench: build
	@python3 tests/bench/bench.py

# Not part of make test: about a quarter of an hour of clip changes.
soak: build
	@python3 tests/bench/soak.py

clean:
	rm -rf build dist
