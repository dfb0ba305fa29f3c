#!/usr/bin/python
# Reads one Quorvane gateway modem's configuration through quorvane-cli.
from __future__ import absolute_import, division, print_function
__metaclass__ = type

DOCUMENTATION = r'''
module: quorvane_config_info
short_description: Read a Quorvane gateway modem's configuration
description:
  - Runs C(quorvane-cli read) on the managed host against one modem and returns its
    configuration in the file format of C(docs/config-file.md), to register as a variable.
options:
  route:
    description: How the managed host reaches the modem, as in M(quorvane_config).
    type: dict
    required: true
  cli:
    description: Path of quorvane-cli on the managed host, as in M(quorvane_config).
    type: path
  timeout:
    description: Seconds to wait for each of the modem's answers.
    type: int
    default: 10
author: Quorvane developers
'''

EXAMPLES = r'''
- name: Read a 4G modem's configuration through its RS232 tunnel
  quorvane_config_info:
    route: {type: tunnel, host: 10.2.0.31, port: 10501, line: 232}
  register: modem

- name: Keep it on the controller
  copy:
    content: "{{ modem.config | to_nice_json(indent=4) }}"
    dest: "backup/{{ inventory_hostname }}.json"
  delegate_to: localhost
'''

RETURN = r'''
target:
  description: The modem as quorvane-cli names it.
  returned: always
  type: str
  sample: 10.2.0.31:10501/232
config:
  description: The modem's configuration in the file format.
  returned: always
  type: dict
  sample: {format: 1, kind: gsm, general: {apn: internet, info_response: true}}
'''

from ansible.module_utils.basic import AnsibleModule
from ansible.module_utils.quorvane import COMMON_OPTIONS, run_cli


def main():
    module = AnsibleModule(argument_spec=COMMON_OPTIONS, supports_check_mode=True)
    result = run_cli(module, 'read')
    module.exit_json(changed=False, target=result.get('target'), config=result.get('config'))


if __name__ == '__main__':
    main()
