// Variant operations beside the same operation on native types. Every loop
// hides its operands from the optimiser and keeps its result, so both sides
// do one real operation per iteration; native values stay in registers, the
// variants in memory as an interpreter keeps them. The "allocs" counter is the number of
// heap allocations per iteration; the non-string benchmarks fail when it is
// not zero.
#include "base/variant/zelvariant.h"

#include <benchmark/benchmark.h>

#include <QString>

#include <cstddef>

// Qt's containers and strings allocate with malloc, not operator new, so the
// count sits on malloc itself (which operator new calls too), forwarding to
// the C library's allocator.
namespace {
long allocations = 0;
}

extern "C" {
void *__libc_malloc(std::size_t size);
void *__libc_calloc(std::size_t count, std::size_t size);
void *__libc_realloc(void *p, std::size_t size);
void __libc_free(void *p);

void *malloc(std::size_t size) noexcept
{
    ++allocations;
    return __libc_malloc(size);
}

void *calloc(std::size_t count, std::size_t size) noexcept
{
    ++allocations;
    return __libc_calloc(count, size);
}

void *realloc(void *p, std::size_t size) noexcept
{
    ++allocations;
    return __libc_realloc(p, size);
}

void free(void *p) noexcept
{
    __libc_free(p);
}
}

namespace {

// Hides a native value from the optimiser while leaving it in a register;
// benchmark::DoNotOptimize may force it through memory, which would make the
// native side slower than it is in real code.
inline void Hide(int &v) { asm volatile("" : "+r"(v)); }
inline void Hide(bool &v) { asm volatile("" : "+r"(v)); }
inline void Hide(double &v) { asm volatile("" : "+x"(v)); }

// Publishes allocations per iteration; non-string loops must not allocate.
class AllocationCount
{
public:
    explicit AllocationCount(benchmark::State &state, bool mayAllocate = false)
        : FState(state), FStart(allocations), FMayAllocate(mayAllocate)
    {
    }
    ~AllocationCount()
    {
        const long used = allocations - FStart;  // before the counter map allocates
        FState.counters["allocs"] = double(used) / double(FState.iterations());
        if (!FMayAllocate && used != 0)
            FState.SkipWithError("a non-string variant operation allocated");
    }

private:
    benchmark::State &FState;
    long FStart;
    bool FMayAllocate;
};

void NativeIntAdd(benchmark::State &state)
{
    int a = 12345, b = 678;
    for (auto _ : state) {
        Hide(a);
        Hide(b);
        int r = a + b;
        Hide(r);
    }
}
BENCHMARK(NativeIntAdd);

void VariantIntAdd(benchmark::State &state)
{
    Variant a(12345), b(678);
    AllocationCount count(state);
    for (auto _ : state) {
        benchmark::DoNotOptimize(a);
        benchmark::DoNotOptimize(b);
        Variant r = Variant::Add(a, b);
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(VariantIntAdd);

// Integer + Int64 goes through the operation-kind table.
void VariantInt64TableAdd(benchmark::State &state)
{
    Variant a(12345), b = Variant::FromInt64(678);
    AllocationCount count(state);
    for (auto _ : state) {
        benchmark::DoNotOptimize(a);
        benchmark::DoNotOptimize(b);
        Variant r = Variant::Add(a, b);
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(VariantInt64TableAdd);

void NativeDoubleAdd(benchmark::State &state)
{
    double a = 1.5, b = 2.25;
    for (auto _ : state) {
        Hide(a);
        Hide(b);
        double r = a + b;
        Hide(r);
    }
}
BENCHMARK(NativeDoubleAdd);

void VariantDoubleAdd(benchmark::State &state)
{
    Variant a(1.5), b(2.25);
    AllocationCount count(state);
    for (auto _ : state) {
        benchmark::DoNotOptimize(a);
        benchmark::DoNotOptimize(b);
        Variant r = Variant::Add(a, b);
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(VariantDoubleAdd);

void NativeIntCompare(benchmark::State &state)
{
    int a = 12345, b = 678;
    for (auto _ : state) {
        Hide(a);
        Hide(b);
        bool r = a < b;
        Hide(r);
    }
}
BENCHMARK(NativeIntCompare);

void VariantIntCompare(benchmark::State &state)
{
    Variant a(12345), b(678);
    AllocationCount count(state);
    for (auto _ : state) {
        benchmark::DoNotOptimize(a);
        benchmark::DoNotOptimize(b);
        bool r = Variant::Less(a, b);
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(VariantIntCompare);

// Integer against Double: table lookup and conversion to doubles.
void VariantMixedCompare(benchmark::State &state)
{
    Variant a(12345), b(678.5);
    AllocationCount count(state);
    for (auto _ : state) {
        benchmark::DoNotOptimize(a);
        benchmark::DoNotOptimize(b);
        bool r = Variant::CompareOp(VarCmp::Lt, a, b);
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(VariantMixedCompare);

void NativeStringConcat(benchmark::State &state)
{
    QString a = QStringLiteral("Total: "), b = QStringLiteral("12345.67");
    AllocationCount count(state, true);
    for (auto _ : state) {
        benchmark::DoNotOptimize(a);
        benchmark::DoNotOptimize(b);
        QString r = a + b;
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(NativeStringConcat);

void VariantStringConcat(benchmark::State &state)
{
    Variant a(QStringLiteral("Total: ")), b(QStringLiteral("12345.67"));
    AllocationCount count(state, true);
    for (auto _ : state) {
        benchmark::DoNotOptimize(a);
        benchmark::DoNotOptimize(b);
        Variant r = Variant::Add(a, b);
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(VariantStringConcat);

// Every non-string kind through copies, the table, conversions and
// comparisons: the allocation counter must stay at zero.
void VariantNonStringKindsDoNotAllocate(benchmark::State &state)
{
    const Variant values[] = {
        Variant(), Variant::Null(), Variant(7), Variant::FromSmallint(-3), Variant::FromByte(200),
        Variant::FromCardinal(40000), Variant::FromInt64(1), Variant::FromUInt64(9), Variant(2.5),
        Variant::FromSingle(1.25f), Variant::FromCurrency(15000), Variant::FromDate(45351.5), Variant(true),
    };
    const VarOp ops[] = {VarOp::Add, VarOp::Sub, VarOp::Mul, VarOp::And, VarOp::Or, VarOp::Xor, VarOp::Shl};
    AllocationCount count(state);
    for (auto _ : state) {
        for (const Variant &a : values) {
            for (const Variant &b : values) {
                Variant copy = a;
                for (VarOp op : ops) {
                    Variant r = Variant::Calc(op, copy, b);
                    benchmark::DoNotOptimize(r);
                }
                bool less = Variant::CompareOp(VarCmp::Lt, copy, b);
                benchmark::DoNotOptimize(less);
            }
            if (!a.IsNull()) {
                double d = a.ToDouble();
                benchmark::DoNotOptimize(d);
                Variant neg = Variant::Neg(a), inverted = Variant::Not(a);
                benchmark::DoNotOptimize(neg);
                benchmark::DoNotOptimize(inverted);
            }
        }
    }
}
BENCHMARK(VariantNonStringKindsDoNotAllocate);

} // namespace

BENCHMARK_MAIN();
