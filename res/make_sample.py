B = "." + "-" * 68 + "."
def box(lines):
    out = [B]
    for l in lines:
        out.append(("| " + l).ljust(69) + "|")
    out.append(B)
    return out
def part(name, addr):
    return ("|    " + name + " (" + addr + ")").ljust(69) + "|"
def conv(start, parts):
    out = [B, ("| Session Start: " + start).ljust(69) + "|", "| Participants:".ljust(69) + "|"]
    out += [part(n, a) for n, a in parts]
    out.append(B)
    return out
L = []
L += conv("Monday, 3 March 2025", [("Ann", "ann@example.org"), ("Anna Lindqvist", "anna.l@example.net"), ("Bob & Co.", "bob@example.com")])
L += [
 "[09:14:02] Ann: Morning! Did everyone get the agenda? :)",
 "[09:14:40] Anna Lindqvist: Yes, thanks (y) It's at www.example.org/agenda.",
 "[09:15:05] Bob & Co.: I'll bring the café <b>slides</b> & the notes :-D",
 "   (they're long, so this line goes on below",
 "   and ends here.)",
 "[09:15:31] Ann: Mail me at <ann@example.org> if anything changes (l)",
 "[09:16:00] Anna Lindqvist: See \"http://example.com/a?b=1\", and ftp.example.net too;)",
 "* Bob & Co. is now known as Bob",
 "[09:16:45] Bob: Same person, new name  --  two  blanks stay visible.",
 "[09:17:10] Ann: A teacup (c), a pizza (pi) and a long one: <:o) +o(a)",
 "",
 "Session Close (Ann): Monday, 3 March 2025",
 "",
]
L += conv("Tuesday, 4 March 2025", [("Christopher Alexander-Wellington", "chris@example.com"), ("Dana", "dana@example.com")])
L += [
 "[10:01] Christopher Alexander-Wellington: A long name, shortened when the option is on.",
 "[10:02] Dana: Ça va? Numbers 1–3, 20€, naïve résumé ;-)",
 "[10:02] Dana: Links: https://example.org/path, mailto:kim@example.com, irc.example.net",
 "* Dana is typing a note that is not a name change",
 "A line without a time, from nobody in the header box.",
]
open("res/sample.txt", "wb").write(b"\xef\xbb\xbf" + ("\r\n".join(L) + "\r\n").encode("utf-8"))
open("res/sample-language.ini", "wb").write(b"\xef\xbb\xbf" + "[Logging]\r\nNameChange=%s is now known as %s\r\n\r\n[Dialog.BasicSkribo]\r\nTitle=Velmora - Password\r\nDecyptFileSuffix=decrypted\r\n".encode("utf-8"))
