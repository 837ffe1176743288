// The floating-point modes the engine's results are defined in.
//
// The x87 must work at 64-bit precision with rounding to nearest and every
// exception masked (the overflow of expl is detected by its flag, not by a
// trap); SSE must round to nearest without flushing subnormals to zero.
// Linux starts every thread so, but a host process (a program that links
// the engine, a Python extension loaded beside ours) may have changed either
// mode on any thread. Every thread that computes therefore enters a
// Fp_mode_scope first: it sets the modes when they differ and restores the
// host's on leaving, so the host sees no change.
#pragma once

#include <cstdint>

namespace vantel {

// 64-bit precision (bits 8-9 = 11), round to nearest (bits 10-11 = 00),
// the six exceptions masked (bits 0-5).
inline constexpr std::uint16_t X87_mode_bits = 0x0F3F;
inline constexpr std::uint16_t X87_engine_mode = 0x033F;
// Round to nearest (bits 13-14), no flush to zero (bit 15), no
// denormals-are-zero (bit 6), the six exceptions masked (bits 7-12).
inline constexpr std::uint32_t Sse_mode_bits = 0xFFC0;
inline constexpr std::uint32_t Sse_engine_mode = 0x1F80;

inline std::uint16_t x87_control_word()
{
    std::uint16_t word;
    asm volatile("fnstcw %0" : "=m"(word));
    return word;
}

inline void set_x87_control_word(std::uint16_t word)
{
    asm volatile("fldcw %0" : : "m"(word));
}

inline std::uint32_t sse_control_word()
{
    std::uint32_t word;
    asm volatile("stmxcsr %0" : "=m"(word));
    return word;
}

inline void set_sse_control_word(std::uint32_t word)
{
    asm volatile("ldmxcsr %0" : : "m"(word));
}

class Fp_mode_scope {
public:
    Fp_mode_scope() : x87_(x87_control_word()), sse_(sse_control_word())
    {
        x87_changed_ = (x87_ & X87_mode_bits) != X87_engine_mode;
        sse_changed_ = (sse_ & Sse_mode_bits) != Sse_engine_mode;
        if (x87_changed_) set_x87_control_word(static_cast<std::uint16_t>((x87_ & ~X87_mode_bits) | X87_engine_mode));
        if (sse_changed_) set_sse_control_word((sse_ & ~Sse_mode_bits) | Sse_engine_mode);
    }
    ~Fp_mode_scope()
    {
        if (x87_changed_) set_x87_control_word(x87_);
        if (sse_changed_) set_sse_control_word((sse_control_word() & ~Sse_mode_bits) | (sse_ & Sse_mode_bits));
    }
    Fp_mode_scope(const Fp_mode_scope&) = delete;
    Fp_mode_scope& operator=(const Fp_mode_scope&) = delete;

private:
    std::uint16_t x87_;
    std::uint32_t sse_;
    bool x87_changed_ = false;
    bool sse_changed_ = false;
};

}  // namespace vantel
