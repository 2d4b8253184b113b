"""Prints each kept message of a folder as one JSON line: envelope, decoded
From/To/Subject, the text part and the name of each attachment, which is
written beside the message as NNN-<name>."""
import email
import email.policy
import glob
import json
import os
import sys

for path in sorted(glob.glob(os.path.join(sys.argv[1], "*.eml"))):
    base = path[:-4]
    with open(base + ".json") as f:
        envelope = json.load(f)
    with open(path, "rb") as f:
        message = email.message_from_binary_file(f, policy=email.policy.default)
    body = message.get_body(preferencelist=("plain",))
    attachments = []
    for part in message.iter_attachments():
        name = part.get_filename()
        target = base + "-" + name
        with open(target, "wb") as f:
            f.write(part.get_payload(decode=True))
        attachments.append({"name": name, "type": part.get_content_type(), "path": target})
    print(json.dumps({"envelope": envelope, "from": str(message["From"]), "to": str(message["To"]),
                      "subject": str(message["Subject"]), "text": body.get_content() if body else "",
                      "attachments": attachments}, ensure_ascii=False))
