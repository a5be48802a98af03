#pragma once

#include <cstdint>

// The numbers by which the mail component's properties and methods are addressed. The program sends a
// message as the fixed sequence EmailDispatch::EmailImage writes; the component gives each number its
// meaning (see SmtpMailComponent).
namespace MailProperty
{
constexpr int Server = 20;
constexpr int Sender = 15;
constexpr int Subject = 28;
constexpr int Recipient = 30;
constexpr int StageFlags = 16;
constexpr int MediaType = 11;
constexpr int MediaSubtype = 8;
constexpr int ContentTypeParameters = 9;
constexpr int Boundary = 32;
constexpr int Command = 3;
constexpr int TransferEncoding = 10;
constexpr int Disposition = 6;
constexpr int AttachmentFile = 27;
// Additions of this program: the login for servers that ask for one. They are set before the
// server and survive the start of a new message, like the server.
constexpr int UserName = 101;
constexpr int Password = 102;
// The message's text, a plain text part before the attachment; none when it is not set.
constexpr int BodyText = 103;
} // namespace MailProperty

namespace MailMethod
{
constexpr int NewMessage = 53;
constexpr int Send = 45;
} // namespace MailMethod

// Values of MailProperty::Command.
namespace MailCommand
{
constexpr std::int32_t BeginBody = 4;
constexpr std::int32_t BeginPart = 7;
constexpr std::int32_t EndPart = 9;
constexpr std::int32_t EndBody = 2;
constexpr std::int32_t AwaitDelivery = 15;
constexpr std::int32_t Release = 8;
} // namespace MailCommand

// Values of MailProperty::StageFlags; the component records them and gives them no meaning.
namespace MailStageFlags
{
constexpr std::int32_t Submitting = 130;
constexpr std::int32_t Finishing = 64;
} // namespace MailStageFlags
