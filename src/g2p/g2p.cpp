#include "g2p/g2p.hpp"

#include "g2p/assembly.hpp"
#include "g2p/tokenizer.hpp"

namespace vyr::g2p {

G2PEngine::G2PEngine(std::string_view dict_path)
    : dict_(PhonemeDict::load(dict_path)),
      merged_cache_(make_string_map<std::string>(kMergedCacheCapacity)),
      common_cache_(make_string_map<ReadingPair>(kCommonCacheCapacity)),
      merged_misses_(make_string_set()),
      common_misses_(make_string_set()),
      segmentation_cache_(
          make_string_map<std::optional<std::string>>(kSegmentationCacheCapacity)) {}

std::string G2PEngine::phonemize(std::string_view text) const {
  TokenList list = tokenize(*this, text);
  propagate_language(list.tokens);
  return assemble(*this, list.tokens);
}

G2PEngine::CacheSizes G2PEngine::cache_sizes() const {
  CacheSizes sizes;
  sizes.merged = merged_cache_.read([](const auto& m) { return m.size(); });
  sizes.common = common_cache_.read([](const auto& m) { return m.size(); });
  sizes.merged_misses = merged_misses_.read([](const auto& s) { return s.size(); });
  sizes.common_misses = common_misses_.read([](const auto& s) { return s.size(); });
  sizes.segmentation = segmentation_cache_.read([](const auto& m) { return m.size(); });
  return sizes;
}

}  // namespace vyr::g2p
