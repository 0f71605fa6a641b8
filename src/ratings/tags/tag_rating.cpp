// SPDX-License-Identifier: GPL-3.0-or-later
#include "ratings/tags/tag_rating.h"

#include <taglib/apefile.h>
#include <taglib/apetag.h>
#include <taglib/fileref.h>
#include <taglib/flacfile.h>
#include <taglib/id3v2tag.h>
#include <taglib/mp4file.h>
#include <taglib/mpcfile.h>
#include <taglib/mpegfile.h>
#include <taglib/opusfile.h>
#include <taglib/popularimeterframe.h>
#include <taglib/textidentificationframe.h>
#include <taglib/vorbisfile.h>
#include <taglib/wavpackfile.h>
#include <taglib/xiphcomment.h>

#include <cctype>
#include <optional>

#include "ratings/tags/audio_signature.h"
#include "songlist/paths.h"

namespace jukora {

namespace {

constexpr const char* kFmpsId3 = "FMPS_Rating";
constexpr const char* kFmpsXiph = "FMPS_RATING";
constexpr const char* kFmpsMp4 = "----:com.apple.iTunes:FMPS_Rating";

// The forms one file holds, finest first.
struct Found {
  std::optional<ReadRating> fmps, popm, rating;
  bool id3v2 = false;
  std::optional<int> own_popm;  // the byte of Jukora's own POPM frame

  ReadRating best() const {
    bool impossible = false;
    for (const std::optional<ReadRating>& form : {fmps, popm, rating}) {
      if (form && form->kind == ReadRating::Kind::kRated) return *form;
      impossible = impossible || (form && form->kind == ReadRating::Kind::kImpossible);
    }
    return impossible ? ReadRating::impossible() : ReadRating::unrated();
  }
};

std::string text_of(const TagLib::String& text) { return text.to8Bit(true); }

void read_id3v2(TagLib::ID3v2::Tag* tag, Found& found) {
  if (!tag) return;
  found.id3v2 = true;
  if (auto* fmps = TagLib::ID3v2::UserTextIdentificationFrame::find(tag, kFmpsId3);
      fmps && fmps->fieldList().size() > 1)
    found.fmps = rating_from_fraction_text(text_of(fmps->fieldList()[1]));
  // Jukora's own frame says what Jukora last wrote; of the others the
  // highest, as no program's frame outranks another's.
  std::optional<int> own, highest;
  for (TagLib::ID3v2::Frame* frame : tag->frameList("POPM")) {
    auto* popm = dynamic_cast<TagLib::ID3v2::PopularimeterFrame*>(frame);
    if (!popm || popm->rating() == 0) continue;
    if (popm->email() == kPopmEmail) own = popm->rating();
    if (!highest || popm->rating() > *highest) highest = popm->rating();
  }
  found.own_popm = own;
  if (own || highest) found.popm = rating_from_popm(own ? *own : *highest);
}

void read_xiph(TagLib::Ogg::XiphComment* tag, Found& found) {
  if (!tag) return;
  const auto& fields = tag->fieldListMap();
  if (auto it = fields.find(kFmpsXiph); it != fields.end() && !it->second.isEmpty())
    found.fmps = rating_from_fraction_text(text_of(it->second.front()));
  if (auto it = fields.find("RATING"); it != fields.end() && !it->second.isEmpty())
    found.rating = rating_from_rating_text(text_of(it->second.front()));
  // "RATING:e-mail" (0.0-1.0, as Quod Libet writes it): like POPM, the
  // highest of the e-mails.
  for (const auto& [key, values] : fields) {
    if (!key.startsWith("RATING:") || values.isEmpty()) continue;
    const ReadRating rating = rating_from_fraction_text(text_of(values.front()));
    if (!found.popm || found.popm->kind != ReadRating::Kind::kRated ||
        (rating.kind == ReadRating::Kind::kRated && rating.half_stars > found.popm->half_stars))
      found.popm = rating;
  }
}

void read_ape(TagLib::APE::Tag* tag, Found& found) {
  if (!tag) return;
  const auto& items = tag->itemListMap();
  if (auto it = items.find(kFmpsXiph); it != items.end())
    found.fmps = rating_from_fraction_text(text_of(it->second.toString()));
}

void read_mp4(TagLib::MP4::Tag* tag, Found& found) {
  if (!tag || !tag->contains(kFmpsMp4)) return;
  const TagLib::StringList values = tag->item(kFmpsMp4).toStringList();
  if (!values.isEmpty()) found.fmps = rating_from_fraction_text(text_of(values.front()));
}

TagLib::String fmps_value(std::int64_t score) { return TagLib::String(fmps_text_of_score(score)); }

bool write_id3v2(TagLib::MPEG::File& file, std::int64_t score) {
  // TagLib writes 2.3 and 2.4; a 2.2 tag becomes 2.4.
  const bool v3 = file.hasID3v2Tag() && file.ID3v2Tag()->header()->majorVersion() == 3;
  TagLib::ID3v2::Tag* tag = file.ID3v2Tag(true);
  while (auto* old = TagLib::ID3v2::UserTextIdentificationFrame::find(tag, kFmpsId3)) tag->removeFrame(old);
  auto* fmps = new TagLib::ID3v2::UserTextIdentificationFrame(TagLib::String::Latin1);
  fmps->setDescription(kFmpsId3);
  fmps->setText(fmps_value(score));
  tag->addFrame(fmps);

  TagLib::ID3v2::PopularimeterFrame* own = nullptr;
  for (TagLib::ID3v2::Frame* frame : tag->frameList("POPM"))
    if (auto* popm = dynamic_cast<TagLib::ID3v2::PopularimeterFrame*>(frame); popm && popm->email() == kPopmEmail)
      own = popm;
  if (!own) {
    own = new TagLib::ID3v2::PopularimeterFrame();
    own->setEmail(kPopmEmail);
    tag->addFrame(own);
  }
  own->setRating(popm_byte_of_score(score));
  return file.save(TagLib::MPEG::File::ID3v2, TagLib::File::StripNone, v3 ? TagLib::ID3v2::v3 : TagLib::ID3v2::v4,
                   TagLib::File::DoNotDuplicate);
}

bool write_ape(TagLib::File& file, TagLib::APE::Tag* tag, std::int64_t score) {
  tag->addValue(kFmpsXiph, fmps_value(score), true);
  return file.save();
}

Found read_found(const std::string& path) {
  Found found;
  if (!has_audio_signature(path)) return found;
  TagLib::FileRef ref(path.c_str(), false);
  TagLib::File* file = ref.file();
  if (!file || !file->isValid()) return found;
  if (auto* mpeg = dynamic_cast<TagLib::MPEG::File*>(file)) {
    read_id3v2(mpeg->ID3v2Tag(), found);
    if (!found.fmps) read_ape(mpeg->APETag(), found);
  } else if (auto* flac = dynamic_cast<TagLib::FLAC::File*>(file)) {
    read_xiph(flac->xiphComment(), found);
    if (!found.fmps && !found.popm) read_id3v2(flac->ID3v2Tag(), found);
  } else if (auto* vorbis = dynamic_cast<TagLib::Ogg::Vorbis::File*>(file)) {
    read_xiph(vorbis->tag(), found);
  } else if (auto* opus = dynamic_cast<TagLib::Ogg::Opus::File*>(file)) {
    read_xiph(opus->tag(), found);
  } else if (auto* mp4 = dynamic_cast<TagLib::MP4::File*>(file)) {
    read_mp4(mp4->tag(), found);
  } else if (auto* ape = dynamic_cast<TagLib::APE::File*>(file)) {
    read_ape(ape->APETag(), found);
  } else if (auto* wavpack = dynamic_cast<TagLib::WavPack::File*>(file)) {
    read_ape(wavpack->APETag(), found);
  } else if (auto* mpc = dynamic_cast<TagLib::MPC::File*>(file)) {
    read_ape(mpc->APETag(), found);
  }
  return found;
}

}  // namespace

ReadRating read_tag_rating(const std::string& path) { return read_found(path).best(); }

bool tag_holds_score(const std::string& path, std::int64_t score) {
  const Found found = read_found(path);
  const ReadRating wanted = ReadRating::rated(half_stars_of_score(score));
  // A score of no stars writes POPM 0, which reads as no frame's rating.
  return found.fmps == wanted && (!found.id3v2 || found.own_popm.value_or(0) == popm_byte_of_score(score));
}

TagEdit write_tag_score(const std::string& path, std::int64_t score) {
  return write_tag_score(path, score, get_extension(path));
}

TagEdit write_tag_score(const std::string& path, std::int64_t score, std::string_view type) {
  if (!has_audio_signature(path, type)) return TagEdit::kFailed;
  std::string kind(type);
  for (char& c : kind) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  // Opened as the kind the song is, whatever the name of the file at `path`.
  const char* const name = path.c_str();
  constexpr bool kNoProperties = false;
  bool saved = false;
  if (kind == "mp3" || kind == "mp2" || kind == "mp1") {
    TagLib::MPEG::File file(name, kNoProperties);
    saved = file.isValid() && write_id3v2(file, score);
  } else if (kind == "flac") {
    TagLib::FLAC::File file(name, kNoProperties);
    saved = file.isValid() && (file.xiphComment(true)->addField(kFmpsXiph, fmps_value(score), true), file.save());
  } else if (kind == "ogg" || kind == "oga") {
    TagLib::Ogg::Vorbis::File file(name, kNoProperties);
    saved = file.isValid() && (file.tag()->addField(kFmpsXiph, fmps_value(score), true), file.save());
  } else if (kind == "opus") {
    TagLib::Ogg::Opus::File file(name, kNoProperties);
    saved = file.isValid() && (file.tag()->addField(kFmpsXiph, fmps_value(score), true), file.save());
  } else if (kind == "m4a") {
    TagLib::MP4::File file(name, kNoProperties);
    saved = file.isValid() &&
            (file.tag()->setItem(kFmpsMp4, TagLib::MP4::Item(TagLib::StringList(fmps_value(score)))), file.save());
  } else if (kind == "ape") {
    TagLib::APE::File file(name, kNoProperties);
    saved = file.isValid() && write_ape(file, file.APETag(true), score);
  } else if (kind == "wv") {
    TagLib::WavPack::File file(name, kNoProperties);
    saved = file.isValid() && write_ape(file, file.APETag(true), score);
  } else if (kind == "mpc") {
    TagLib::MPC::File file(name, kNoProperties);
    saved = file.isValid() && write_ape(file, file.APETag(true), score);
  } else {
    return TagEdit::kNoRatingTag;
  }
  return saved ? TagEdit::kDone : TagEdit::kFailed;
}

}  // namespace jukora
