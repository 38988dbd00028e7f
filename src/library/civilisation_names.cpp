#include "library/civilisation_names.h"

#include <iterator>

namespace morvane {
namespace {

// By civId; ids 19 and up came with community patches and the later editions
// in this order. The Definitive Edition's names are its recordings' public
// reference data's (SiegeEngineers/aoc-reference-data, dataset 100): it
// renamed two and runs past the others' last. The Japanese names: ids 1 to
// 18 as the first Japanese edition names them (so 18 is 朝鮮, where the
// Definitive Edition writes 韓国), 20 as the English "Indians", the rest as
// the Definitive Edition's Japanese text names them.
constexpr Civilisation kCivilisations[] = {
    {"", nullptr, "", ""},
    {"Britons", nullptr, u8"ブリトン", "Bri"},
    {"Franks", nullptr, u8"フランク", "Fra"},
    {"Goths", nullptr, u8"ゴート", "Got"},
    {"Teutons", nullptr, u8"チュートン", "Teu"},
    {"Japanese", nullptr, u8"日本", "Jap"},
    {"Chinese", nullptr, u8"中国", "Chi"},
    {"Byzantines", nullptr, u8"ビザンティン", "Byz"},
    {"Persians", nullptr, u8"ペルシア", "Per"},
    {"Saracens", nullptr, u8"サラセン", "Sar"},
    {"Turks", nullptr, u8"トルコ", "Tur"},
    {"Vikings", nullptr, u8"バイキング", "Vik"},
    {"Mongols", nullptr, u8"モンゴル", "Mon"},
    {"Celts", nullptr, u8"ケルト", "Cel"},
    {"Spanish", nullptr, u8"スペイン", "Spa"},
    {"Aztecs", nullptr, u8"アステカ", "Azt"},
    {"Mayans", "Maya", u8"マヤ", "May"},
    {"Huns", nullptr, u8"フン", "Hun"},
    {"Koreans", nullptr, u8"朝鮮", "Kor"},
    {"Italians", nullptr, u8"イタリア", "Ita"},
    {"Indians", "Hindustanis", u8"インド", "Ind"},
    {"Incas", nullptr, u8"インカ", "Inc"},
    {"Magyars", nullptr, u8"マジャール", "Mag"},
    {"Slavs", nullptr, u8"スラヴ", "Sla"},
    {"Portuguese", nullptr, u8"ポルトガル", "Por"},
    {"Ethiopians", nullptr, u8"エチオピア", "Eth"},
    {"Malians", nullptr, u8"マリ", "Mal"},
    {"Berbers", nullptr, u8"ベルベル", "Ber"},
    {"Khmer", nullptr, u8"クメール", "Khm"},
    {"Malay", nullptr, u8"マレー", "Mly"},
    {"Burmese", nullptr, u8"ビルマ", "Bur"},
    {"Vietnamese", nullptr, u8"ベトナム", "Vie"},
    {"Bulgarians", nullptr, u8"ブルガリア", "Bul"},
    {"Tatars", nullptr, u8"タタール", "Tat"},
    {"Cumans", nullptr, u8"クマン", "Cum"},
    {"Lithuanians", nullptr, u8"リトアニア", "Lit"},
    {"Burgundians", nullptr, u8"ブルゴーニュ", "Brg"},
    {"Sicilians", nullptr, u8"シチリア", "Sic"},
    {"Poles", nullptr, u8"ポーランド", "Pol"},
    {"Bohemians", nullptr, u8"ボヘミア", "Boh"},
    {"Dravidians", nullptr, u8"ドラヴィダ", "Dra"},
    {"Bengalis", nullptr, u8"ベンガル", "Ben"},
    {"Gurjaras", nullptr, u8"グルジャラ", "Gur"},
    {"Romans", nullptr, u8"ローマ", "Rom"},
    {"Armenians", nullptr, u8"アルメニア", "Arm"},
    {"Georgians", nullptr, u8"ジョージア", "Geo"},
    {"Achaemenids", nullptr, u8"アケメネス朝", "Ach"},
    {"Athenians", nullptr, u8"アテナイ", "Ath"},
    {"Spartans", nullptr, u8"スパルタ", "Spt"},
    {"Shu", nullptr, u8"蜀", "Shu"},
    {"Wu", nullptr, u8"呉", "Wu"},
    {"Wei", nullptr, u8"魏", "Wei"},
    {"Jurchens", nullptr, u8"女真", "Jur"},
    {"Khitans", nullptr, u8"契丹", "Khi"},
    {"Macedonians", nullptr, u8"マケドニア", "Mac"},
    {"Thracians", nullptr, u8"トラキア", "Thr"},
    {"Puru", nullptr, u8"プル", "Pur"},
    {"Muisca", nullptr, u8"ムイスカ", "Mui"},
    {"Mapuche", nullptr, u8"マプチェ", "Map"},
    {"Tupi", nullptr, u8"トゥピ", "Tup"},
};

// The earlier editions' English list stops here; past it an id is theirs to
// mean, not the Definitive Edition's.
constexpr int32_t kLastEarlierId = 45;

std::string numbered(int32_t civId) { return "#" + std::to_string(civId); }

}  // namespace

const Civilisation* civilisationOf(int32_t civId) {
  if (civId <= 0 || civId >= static_cast<int32_t>(std::size(kCivilisations))) return nullptr;
  return &kCivilisations[civId];
}

std::string civilisationName(int32_t civId, VersionFamily family) {
  if (civId == 0) return {};
  const Civilisation* civ = civilisationOf(civId);
  if (family != VersionFamily::kDE) {
    return civ == nullptr || civId > kLastEarlierId ? numbered(civId) : civ->english;
  }
  if (civ == nullptr) return numbered(civId);
  return civ->definitiveEnglish != nullptr ? civ->definitiveEnglish : civ->english;
}

std::string civilisationNameInJapanese(int32_t civId) {
  if (civId == 0) return {};
  const Civilisation* civ = civilisationOf(civId);
  return civ == nullptr ? numbered(civId) : civ->japanese;
}

std::string civilisationAbbreviation(int32_t civId) {
  const Civilisation* civ = civilisationOf(civId);
  return civ == nullptr ? std::string() : civ->abbreviation;
}

}  // namespace morvane
