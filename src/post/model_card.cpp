#include "post/model_card.h"

#include "input/card_reader.h"
#include "run/errstp.h"

namespace vortan {

std::string read_model_card(std::string_view routine, std::string_view keyword, std::string_view message) {
  LISTEN(routine);
  if (CARD.NWORD < 2 || !CARD.word_is(1, keyword)) ERRSTP(message);
  // The second word, wherever numbers between the two put it.
  std::string name;
  for (int slot = 2; slot <= CARD_SLOTS && name.empty(); ++slot) name = CARD.WORD(slot);
  name.resize(MODEL_NAME_LENGTH, ' ');
  return name;
}

}  // namespace vortan
