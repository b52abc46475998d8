// The JBP1 inverse transform: an integer 8 × 8 IDCT with 16-bit fixed-point
// constants, in a portable version and x86 vector versions that match it.
#pragma once

#include <cstdint>

namespace zeku {

// `coefficients`: 64 dequantised coefficients (value × table entry) in
// natural order, left all zero for the next block (clearing them while they
// are in registers is cheaper than a separate pass).
// `samples`: 64 level-shifted samples, row-major. Products
// wrap in 32 bits and the column results are kept as 16-bit values, so
// every input has one defined result and all versions agree on it.
void jbp1IdctScalar(int32_t* coefficients, int16_t* samples);

#if defined(__x86_64__) || defined(__i386__)
void jbp1IdctSse2(int32_t* coefficients, int16_t* samples);
void jbp1IdctSse41(int32_t* coefficients, int16_t* samples);
void jbp1IdctAvx2(int32_t* coefficients, int16_t* samples);
#endif

}  // namespace zeku
