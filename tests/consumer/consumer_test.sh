#!/usr/bin/env bash
# Installs the libraries of a build tree into a scratch prefix, then builds the consumer
# project against it twice, through find_package(Zindrel) and through pkg-config, and runs it.
# Usage: consumer_test.sh BUILD_DIR SCRATCH_DIR
set -euo pipefail
build="$1"
scratch="$2"
here=$(cd "$(dirname "$0")" && pwd)
rm -rf "$scratch"
cmake --install "$build" --prefix "$scratch/prefix" --component devel >/dev/null

cmake -S "$here" -B "$scratch/cmake" -DCMAKE_PREFIX_PATH="$scratch/prefix" >/dev/null
cmake --build "$scratch/cmake" >/dev/null
"$scratch/cmake/consumer" >/dev/null

export PKG_CONFIG_PATH="$scratch/prefix/lib/pkgconfig"
# shellcheck disable=SC2046 # the flags are separate words
c++ -std=c++20 "$here/consumer.cpp" -o "$scratch/consumer-pc" $(pkg-config --cflags --libs zindrel-toolkit)
"$scratch/consumer-pc" >/dev/null
echo "consumer built and ran through find_package and pkg-config"
