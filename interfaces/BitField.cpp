#include "ArkApi.h"

std::uint32_t ReadBitField(const BitField& field) noexcept {
  const auto position = static_cast<std::uint32_t>(field.BitPosition);
  if (field.Word == 0 || position >= 32) return 0;
  const std::uint32_t word = *reinterpret_cast<const std::uint32_t*>(field.Word) >> position;
  return field.NumBits >= 32 ? word : word & ((1u << field.NumBits) - 1u);
}
